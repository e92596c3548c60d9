#include "frontend/SettingsStore.h"

#include <iostream>

#include "frontend/SettingsText.h"
#include "storage/PlayerFile.h"

PlayerSettings SettingsStore::load() {
    if (folder.empty()) {
        std::cerr << "settings: no home folder, so none are kept" << std::endl;
        writable = false;
        return PlayerSettings();
    }
    std::string problem;
    const std::optional<std::string> text = PlayerFile(path()).read(SettingsText::largestText, problem);
    if (!text && problem.empty()) return PlayerSettings();  // none kept yet
    std::optional<PlayerSettings> settings;
    if (text) settings = SettingsText::read(*text, problem);
    if (!settings) {
        writable = setAside(problem);
        return PlayerSettings();
    }
    kept = settings;
    return *settings;
}

bool SettingsStore::setAside(const std::string& why) {
    const std::string aside = PlayerFile(path()).keepAside();
    if (!aside.empty()) {
        std::cerr << "settings: " << path() << ": " << why << "; playing with the defaults, the file is kept as "
                  << aside << std::endl;
        return true;
    }
    std::cerr << "settings: " << path() << ": " << why << "; playing with the defaults, and keeping none this time"
              << " since the file cannot be set aside" << std::endl;
    return false;
}

bool SettingsStore::save(const PlayerSettings& settings) {
    if (!writable || kept == settings) return writable;
    std::string problem;
    if (!PlayerFile(path()).write(SettingsText::write(settings), problem)) {
        std::cerr << "settings: not saved: " << problem << std::endl;
        return false;
    }
    kept = settings;
    return true;
}
