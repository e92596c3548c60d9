#include "app/ProcessLibraries.h"

#include "assets/MaterialLibrary.h"
#include "assets/MeshLibrary.h"
#include "assets/TextureLibrary.h"
#include "game/GameClock.h"
#include "game/MessageLog.h"

void startProcessLibraries(const std::string& mediaPrefix) {
    stopProcessLibraries();
    MeshLibrary::current = new MeshLibrary(mediaPrefix + "media/meshes/");
    TextureLibrary::current = new TextureLibrary(mediaPrefix + "media/textures/");
    // Reading the material script decodes the textures it names, so the texture library comes first.
    MaterialLibrary::current = new MaterialLibrary(mediaPrefix + "media/meshes/Scene.material");
    MessageLog::current = new MessageLog(GameClock::now());
}

void stopProcessLibraries() {
    delete MessageLog::current;
    MessageLog::current = nullptr;
    delete MaterialLibrary::current;
    MaterialLibrary::current = nullptr;
    delete TextureLibrary::current;
    TextureLibrary::current = nullptr;
    delete MeshLibrary::current;
    MeshLibrary::current = nullptr;
}
