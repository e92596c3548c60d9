#pragma once

// Names shared between the pieces of the media: the materials the meshes name and the material
// script defines, the texture files the script names and the painter writes, and the mesh files
// the scene names (without the final ".xml", as the scene writes them).

namespace material {
constexpr const char* road = "TrackAsphalt";
constexpr const char* kerb = "TrackKerb";
constexpr const char* startLine = "TrackStartLine";
constexpr const char* barrier = "TrackBarrier";
constexpr const char* barrierTop = "TrackBarrierTop";
constexpr const char* grass = "Grass";
constexpr const char* kartBody = "KartBody";
constexpr const char* kartTrim = "KartTrim";
constexpr const char* kartMetal = "KartMetal";
constexpr const char* driverSuit = "DriverSuit";
constexpr const char* helmet = "DriverHelmet";
constexpr const char* visor = "DriverVisor";
constexpr const char* tyre = "Tyre";
constexpr const char* hub = "WheelHub";
constexpr const char* greenShell = "ShellGreen";
constexpr const char* redShell = "ShellRed";
constexpr const char* shellRim = "ShellRim";
constexpr const char* shellBase = "ShellBase";
constexpr const char* dust = "Dust";
constexpr const char* fieldTop = "ItemFieldTop";
constexpr const char* fieldSide = "ItemFieldSide";
constexpr const char* fieldUnder = "ItemFieldUnder";
constexpr const char* crate = "Crate";
constexpr const char* barrel = "Barrel";
constexpr const char* barrelLid = "BarrelLid";
constexpr const char* bark = "TreeBark";
constexpr const char* needles = "TreeNeedles";
constexpr const char* crown = "TreeCrown";
constexpr const char* rock = "Rock";
constexpr const char* concrete = "Concrete";
constexpr const char* crowd = "Crowd";
constexpr const char* roof = "StandRoof";
constexpr const char* banner = "StartBanner";
constexpr const char* post = "GantryPost";
}  // namespace material

namespace texture {
constexpr const char* asphalt = "asphalt.tga";
constexpr const char* kerb = "kerb.tga";
constexpr const char* startLine = "startline.tga";
constexpr const char* barrier = "barrier.tga";
constexpr const char* concrete = "concrete.tga";
constexpr const char* grass = "grass.tga";
constexpr const char* kart = "kart.tga";
constexpr const char* tyre = "tyre.tga";
constexpr const char* greenShell = "shell_green.tga";
constexpr const char* redShell = "shell_red.tga";
constexpr const char* itemField = "itemfield.tga";
constexpr const char* crate = "crate.tga";
constexpr const char* barrel = "barrel.tga";
constexpr const char* bark = "bark.tga";
constexpr const char* needles = "needles.tga";
constexpr const char* crown = "crown.tga";
constexpr const char* rock = "rock.tga";
constexpr const char* crowd = "crowd.tga";
constexpr const char* banner = "banner.tga";
}  // namespace texture

namespace meshName {
constexpr const char* track = "Track.mesh";
constexpr const char* ground = "Ground.mesh";
constexpr const char* kartCentre = "VorbelC.mesh";
// The leaning poses are "VorbelL2.mesh" to "VorbelL7.mesh".
constexpr const char* kartLeanPrefix = "VorbelL";
constexpr int kartLeanPoses = 6;
constexpr const char* wheel = "Wheel.mesh";
constexpr const char* dustSphere = "DustSphere.mesh";
constexpr const char* greenShell = "Shell.mesh";
constexpr const char* redShell = "RedShell.mesh";
constexpr const char* itemField = "ItemField.mesh";
constexpr const char* crate = "Crate.mesh";
constexpr const char* barrel = "Barrel.mesh";
constexpr const char* pine = "Pine.mesh";
constexpr const char* broadTree = "BroadTree.mesh";
constexpr const char* rockPrefix = "Rock";  // "Rock1.mesh" ...
constexpr int rockVariants = 3;
constexpr const char* tyreStack = "TyreStack.mesh";
constexpr const char* grandstand = "Grandstand.mesh";
constexpr const char* gantryPost = "GantryPost.mesh";
constexpr const char* banner = "StartBanner.mesh";
}  // namespace meshName

// The sound files, in media/sounds/.
namespace soundFile {
constexpr const char* engine = "engine.wav";  // loops
constexpr const char* skid = "skid.wav";      // loops
constexpr const char* star = "star.wav";      // loops
constexpr const char* itemTaken = "item.wav";
constexpr const char* greenShell = "shell_green.wav";
constexpr const char* redShell = "shell_red.wav";
constexpr const char* shellBackwards = "shell_back.wav";
constexpr const char* shellBounce = "bounce.wav";
constexpr const char* hit = "hit.wav";
constexpr const char* spinOut = "spin.wav";
constexpr const char* driftBoost = "boost.wav";
constexpr const char* bump = "bump.wav";
constexpr const char* turbo = "turbo.wav";
constexpr const char* flash = "flash.wav";
constexpr const char* lap = "lap.wav";
constexpr const char* finalLap = "final_lap.wav";
constexpr const char* fanfare = "fanfare.wav";
constexpr const char* music = "music.wav";  // loops; streamed
}  // namespace soundFile
