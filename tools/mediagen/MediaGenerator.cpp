#include "MediaGenerator.h"

#include "MediaGeneratorBuild.h"

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <vector>

#include "Circuit.h"
#include "GroundBuilder.h"
#include "ItemModels.h"
#include "KartModel.h"
#include "LevelPlanner.h"
#include "MaterialCatalog.h"
#include "MediaNames.h"
#include "MusicComposer.h"
#include "NumberFormat.h"
#include "SceneWriter.h"
#include "SceneryModels.h"
#include "SoundEffects.h"
#include "TexturePainter.h"
#include "TrackBuilder.h"
#include "TrackLayout.h"

namespace fs = std::filesystem;

namespace {

const char* const meshesFolder = "meshes";
const char* const texturesFolder = "textures";
const char* const soundsFolder = "sounds";
const char* const materialScript = "meshes/Scene.material";
const char* const sceneFile = "meshes/level.scene.xml";
const char* const checkpointsFile = "meshes/level.raw";

std::string checkpointText(const std::vector<Vec3>& points) {
    std::string text;
    for (const Vec3& p : points)
        text += formatNumber(p.x, 3) + " " + formatNumber(p.y, 3) + " " + formatNumber(p.z, 3) + "\n";
    return text;
}

double polylineLength(const std::vector<Vec3>& points) {
    double length = 0;
    for (size_t i = 0; i < points.size(); ++i) length += (points[(i + 1) % points.size()] - points[i]).length();
    return length;
}

}  // namespace

const char* const MediaGenerator::markerFile = "this is media.txt";

MediaGenerator::MediaGenerator(std::string root, int circuit) : root(std::move(root)), circuit(circuit) {}

const char* MediaGenerator::buildIdentity() { return mediaGeneratorBuild; }

std::string MediaGenerator::markerText(int circuit) {
    return "Vorbel Race media, circuit " + std::to_string(circuit) + "\ngenerator " + buildIdentity() + "\n";
}

bool MediaGenerator::fail(const std::string& what) {
    std::cerr << "vorbel-mediagen: " << what << std::endl;
    return false;
}

bool MediaGenerator::writeFile(const std::string& relativePath, const std::string& content) {
    std::ofstream file(fs::path(root) / relativePath, std::ios::binary);
    file << content;
    if (!file) return fail("cannot write " + (fs::path(root) / relativePath).string());
    return true;
}

bool MediaGenerator::writeMeshes(const std::map<std::string, MeshBuilder>& meshes,
                                 std::map<std::string, Bounds>& boxes) {
    for (const auto& entry : meshes) {
        const MeshBuilder& mesh = entry.second;
        if (const int faulty = mesh.faultyTriangles()) {
            return fail(entry.first + " has " + std::to_string(faulty) + " badly wound or degenerate triangles");
        }
        if (!writeFile(std::string(meshesFolder) + "/" + entry.first + ".xml", mesh.toXml())) return false;
        boxes[entry.first] = mesh.bounds();
    }
    return true;
}

bool MediaGenerator::run(const std::function<void(double fraction)>& progress) {
    const auto reach = [&progress](double fraction) {
        if (progress) progress(fraction);
    };
    std::error_code error;
    fs::create_directories(fs::path(root) / meshesFolder, error);
    fs::create_directories(fs::path(root) / texturesFolder, error);
    fs::create_directories(fs::path(root) / soundsFolder, error);
    if (error) return fail("cannot create " + root + ": " + error.message());
    const std::optional<Circuit> made = Circuit::make(circuit);
    if (!made) return fail("no draft of circuit " + std::to_string(circuit) + " passes the checks");
    reach(0.05);
    const TrackLayout& layout = made->layout;
    if (!TexturePainter::paintAll((fs::path(root) / texturesFolder).string(), made->look)) {
        return fail("cannot write the textures");
    }
    if (!writeFile(materialScript, MaterialCatalog::script())) return false;
    if (!SoundEffects::writeAll((fs::path(root) / soundsFolder).string(), circuit)) return false;
    reach(0.4);

    const TrackBuilder trackBuilder(*made);
    const std::vector<Vec3> checkpoints = trackBuilder.checkpoints();
    const double courseLength = polylineLength(checkpoints);

    std::map<std::string, MeshBuilder> meshes;
    meshes[meshName::track] = trackBuilder.build();
    Bounds detail = meshes[meshName::track].bounds();
    meshes[meshName::ground] = GroundBuilder(detail).build();
    meshes[meshName::kartCentre] = KartModel::body(0);
    for (int pose = 1; pose <= meshName::kartLeanPoses; ++pose) {
        meshes[meshName::kartLeanPrefix + std::to_string(pose + 1) + ".mesh"] = KartModel::body(pose);
    }
    meshes[meshName::wheel] = KartModel::wheel();
    meshes[meshName::dustSphere] = ItemModels::dustSphere();
    meshes[meshName::greenShell] = ItemModels::shell(material::greenShell);
    meshes[meshName::redShell] = ItemModels::shell(material::redShell);
    meshes[meshName::itemField] = ItemModels::itemField();
    meshes[meshName::crate] = SceneryModels::crate();
    meshes[meshName::barrel] = SceneryModels::barrel();
    meshes[meshName::pine] = SceneryModels::pine();
    meshes[meshName::broadTree] = SceneryModels::broadTree();
    for (int variant = 0; variant < meshName::rockVariants; ++variant) {
        meshes[meshName::rockPrefix + std::to_string(variant + 1) + ".mesh"] = SceneryModels::rock(variant);
    }
    meshes[meshName::tyreStack] = SceneryModels::tyreStack();
    meshes[meshName::grandstand] = SceneryModels::grandstand();
    meshes[meshName::gantryPost] = SceneryModels::gantryPost(LevelPlanner::gantryPostHeight(layout));
    meshes[meshName::banner] = SceneryModels::banner(LevelPlanner::gantryBannerHalfSpan());

    reach(0.45);
    std::map<std::string, Bounds> boxes;
    if (!writeMeshes(meshes, boxes)) return false;
    reach(0.95);
    const std::vector<SceneNode> nodes = LevelPlanner(*made, trackBuilder, boxes).plan();
    if (!writeFile(sceneFile, SceneWriter::toXml(nodes))) return false;
    if (!writeFile(checkpointsFile, checkpointText(checkpoints))) return false;
    // Last, so that a folder with the marker holds a whole circuit.
    if (!writeFile(markerFile, markerText(circuit))) return false;
    reach(1);

    const Vec3 kart = boxes[meshName::kartCentre].size();
    std::ostringstream line;
    line << "vorbel-mediagen: " << root << ": circuit " << circuit << ", course " << formatNumber(courseLength, 1)
         << " units, " << checkpoints.size() << " checkpoints, road " << formatNumber(2 * TrackBuilder::halfWidth, 1)
         << " wide, smallest radius " << formatNumber(layout.smallestRadius(), 1) << ", steepest slope "
         << formatNumber(layout.steepestSlopeDegrees(), 2) << " deg, steepest bank "
         << formatNumber(layout.steepestBankDegrees(), 2) << " deg; track " << meshes[meshName::track].triangleCount()
         << " triangles, ground " << meshes[meshName::ground].triangleCount() << ", kart "
         << meshes[meshName::kartCentre].triangleCount() << " (" << formatNumber(kart.x, 2) << " x "
         << formatNumber(kart.y, 2) << " x " << formatNumber(kart.z, 2) << "); " << nodes.size() << " scene nodes, "
         << meshes.size() << " meshes, " << TexturePainter::count() << " textures; sounds and music ("
         << MusicComposer(circuit).describe() << ")";
    report = line.str();
    return true;
}
