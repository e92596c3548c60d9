#include "app/FrontEndSession.h"

#include <atomic>
#include <fstream>
#include <random>
#include <thread>

#include <GLFW/glfw3.h>

#include "CircuitCache.h"
#include "app/MediaDirectory.h"
#include "app/ProcessLibraries.h"
#include "app/RaceHost.h"
#include "app/RaceLoop.h"
#include "app/WindowMode.h"
#include "audio/RaceAudio.h"
#include "frontend/MenuKeys.h"
#include "frontend/SettingsStore.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "game/Window.h"
#include "input/PadInput.h"
#include "records/RecordStore.h"
#include "replay/ReplayArchive.h"
#include "replay/ReplaySession.h"
#include "storage/PlayerFolders.h"

FrontEndSession::FrontEndSession(GLFWwindow* window, AudioDevice* device, SettingsStore& store,
                                 const PlayerSettings& settings, std::string installedPrefix, PadInput* pads)
    : window(window),
      device(device),
      store(store),
      frontEnd(settings, std::random_device()()),
      preview(mapSize),
      installedPrefix(std::move(installedPrefix)),
      pads(pads),
      records(RecordStore(playerDataFolder()).read()) {}

// One frame of the front end: the picture of the circuit shown, once it is made -> draw -> swap ->
// wait for a key (its callback runs here) or for the next frame -> pads -> window mode -> start a
// race, or quit.
void FrontEndSession::run() {
    int width = 0, height = 0;
    glfwGetWindowSize(window, &width, &height);
    onWindowResize(width, height);
    glfwSetWindowSizeCallback(window, [](GLFWwindow*, int newWidth, int newHeight) {
        onWindowResize(newWidth, newHeight);
    });
    listen(window, this);
    while (!glfwWindowShouldClose(window) && request != FrontEnd::Request::quit) {
        preview.request(frontEnd.settings().circuit);
        if (std::optional<CircuitPreview::Picture> picture = preview.take()) view.show(std::move(*picture));
        view.draw(frontEnd, notice, records.ofCircuit(frontEnd.settings().circuit));
        nextFrame();
        if (pads) hearPads();
        applyDisplay();
        if (request == FrontEnd::Request::startRace) {
            request = FrontEnd::Request::none;
            if (!race()) break;
        }
    }
    store.save(frontEnd.settings());
}

void FrontEndSession::keyEvent(int key, int action) {
    if (starting || request != FrontEnd::Request::none) return;
    if (key == GLFW_KEY_F11 && action == GLFW_PRESS) {
        frontEnd.setFullScreen(!frontEnd.settings().fullScreen);
        return;
    }
    if (const std::optional<MenuAction> menuAction = MenuKeys::action(key, action)) handle(*menuAction);
}

void FrontEndSession::hearPads() {
    const PadInput::Frame frame = pads->poll(GameClock::now());
    if (!frame.messages.empty()) notice = frame.messages.back();
    for (PadInput::Press press : frame.presses) {
        if (starting || request != FrontEnd::Request::none) return;
        switch (press) {
            case PadInput::Press::up: handle({MenuAction::up}); break;
            case PadInput::Press::down: handle({MenuAction::down}); break;
            case PadInput::Press::left: handle({MenuAction::left}); break;
            case PadInput::Press::right: handle({MenuAction::right}); break;
            case PadInput::Press::choose: handle({MenuAction::choose}); break;
            case PadInput::Press::back: handle({MenuAction::back}); break;
            default: break;  // Start and Back count in the race
        }
    }
}

void FrontEndSession::handle(const MenuAction& action) {
    notice.clear();
    request = frontEnd.handle(action);
}

bool FrontEndSession::race() {
    starting = true;
    const PlayerSettings settings = frontEnd.settings();
    store.save(settings);
    // The texture library forks its decoder when the libraries start: no thread of ours runs then.
    preview.finish();
    const std::string prefix = mediaPrefix(settings.circuit);
    if (glfwWindowShouldClose(window)) return false;
    if (prefix.empty()) {
        notice = "Circuit " + std::to_string(settings.circuit) + " could not be generated";
        starting = false;
        return true;
    }
    view.drawStart(settings.circuit, std::nullopt);
    glfwSwapBuffers(window);
    startProcessLibraries(prefix);
    const MediaMarker media = MediaMarker::read(prefix);
    GhostPath ghost = ghostFor(settings, media.generator);
    if (glfwWindowShouldClose(window)) return false;
    ReplaySession replays(settings.circuit, media.generator, playerDataFolder());
    RaceLoop::Outcome outcome;
    {
        RaceHost host(settings.race, std::move(ghost));
        host.attach(window, device, prefix, replays, pads);
        host.audio().setVolume(settings.sound.volumeShare());
        host.audio().setMuted(settings.sound.muted);
        // Keys pressed in the menu are not the race's: sticky keys only from here.
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_TRUE);
        // The first frame spans one frame, not the time since the level began to load.
        host.game().currentTime = GameClock::now();
        outcome = RaceLoop(host.game(), &host.audio(), &replays, window, true, pads).run();
        glfwSetInputMode(window, GLFW_STICKY_KEYS, GLFW_FALSE);
        frontEnd.setMuted(host.audio().isMuted());  // M in the race is kept
    }
    records = RecordStore(playerDataFolder()).read();
    listen(window, this);
    frontEnd.setFullScreen(isFullScreen(window));
    frontEnd.returnFromRace();
    starting = false;
    return outcome == RaceLoop::Outcome::frontEnd;
}

GhostPath FrontEndSession::ghostFor(const PlayerSettings& settings, const std::string& media) {
    if (settings.race.computerDrivers > 0) return GhostPath();
    // The best race runs again beside the frames that show how far it has come.
    std::atomic<double> share(0);
    std::atomic<bool> done(false);
    GhostPath ghost;
    std::thread run([&] {
        ghost = GhostPath::ofBestRace(ReplayArchive(playerDataFolder()), settings.circuit, media, settings.race.laps,
                                      [&share](double fraction) { share = fraction; });
        done = true;
    });
    while (!done) {
        view.drawProgress("The best race on circuit " + std::to_string(settings.circuit) + " runs again for its ghost",
                          share.load());
        nextFrame();
    }
    run.join();
    return ghost;
}

std::string FrontEndSession::mediaPrefix(int circuit) {
    if (circuit == 0 && std::ifstream(installedPrefix + "media/this is media.txt")) return installedPrefix;
    const std::string folder = CircuitCache::folderFor(CircuitCache::defaultRoot(), circuit);
    const std::string media = folder + "/media";
    if (!CircuitCache::isCurrent(media, circuit)) {
        // The generator works beside the frames that show how far it has come.
        std::atomic<double> share(0);
        std::atomic<bool> done(false);
        bool made = false;
        std::thread generator([&] {
            made = CircuitCache::ensure(media, circuit, [&share](double fraction) { share = fraction; });
            done = true;
        });
        while (!done) {
            view.drawStart(circuit, share.load());
            nextFrame();
        }
        generator.join();
        if (!made) return "";
    }
    return folder + "/";
}

void FrontEndSession::nextFrame() {
    glfwSwapBuffers(window);
    glfwWaitEventsTimeout(frameSeconds);
}

void FrontEndSession::applyDisplay() {
    if (frontEnd.settings().fullScreen != isFullScreen(window)) setFullScreen(window, frontEnd.settings().fullScreen);
}
