#include "level/SceneLoader.h"

#include <cmath>
#include <iostream>
#include <map>
#include <vector>

#include <btBulletDynamicsCommon.h>
#include <tinyxml.h>

#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/XmlFile.h"
#include "entities/AIControlledVehicle.h"
#include "entities/DynamicEntity.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Camera.h"
#include "game/Game.h"
#include "items/ExtraField.h"
#include "level/CheckpointsFile.h"

namespace {

const char* const bodyMeshNames[] = {"VorbelC.mesh.xml",  "VorbelL2.mesh.xml", "VorbelL3.mesh.xml", "VorbelL4.mesh.xml",
                                     "VorbelL5.mesh.xml", "VorbelL6.mesh.xml", "VorbelL7.mesh.xml"};
const char* const wheelMeshName = "Wheel.mesh.xml";
const int playerOrdinal = 4;  // the fourth vehicle node is the player's
const float fallbackMass = 1.0f;

// Transform and properties of one scene node, with defaults for what the file leaves out.
struct Node {
    btVector3 position{0, 0, 0};
    btQuaternion orientation = btQuaternion::getIdentity();
    btVector3 scale{1, 1, 1};
    std::string type;
    float mass = 0;
    std::vector<std::string> problems;
};

// Reads the named float attributes of `name`'s first child element into `values`; what is missing,
// not a number or not finite keeps its default.
void readValues(const TiXmlElement* node, const char* name, const char* const* attributes, int count, float* values,
                std::vector<std::string>& problems) {
    const TiXmlElement* element = node->FirstChildElement(name);
    if (!element) {
        problems.push_back(std::string("no ") + name);
        return;
    }
    for (int i = 0; i < count; ++i) {
        double value = 0;
        if (element->QueryDoubleAttribute(attributes[i], &value) != TIXML_SUCCESS) {
            problems.push_back(std::string(name) + " without " + attributes[i]);
        } else if (!std::isfinite(static_cast<float>(value))) {
            problems.push_back(std::string(name) + " " + attributes[i] + " not finite");
        } else {
            values[i] = static_cast<float>(value);
        }
    }
}

Node readNode(const TiXmlElement* element) {
    Node node;
    static const char* const xyz[] = {"x", "y", "z"};
    static const char* const xyzw[] = {"x", "y", "z", "w"};
    float position[3] = {0, 0, 0}, rotation[4] = {0, 0, 0, 1}, scale[3] = {1, 1, 1};
    readValues(element, "position", xyz, 3, position, node.problems);
    readValues(element, "quaternion", xyzw, 4, rotation, node.problems);
    readValues(element, "scale", xyz, 3, scale, node.problems);
    node.position = btVector3(position[0], position[1], position[2]);
    node.scale = btVector3(scale[0], scale[1], scale[2]);
    const btQuaternion quaternion(rotation[0], rotation[1], rotation[2], rotation[3]);
    // Passed on unchanged, unless it has no direction at all.
    if (quaternion.length2() > 0) {
        node.orientation = quaternion;
    } else {
        node.problems.push_back("quaternion of length 0");
    }
    return node;
}

void readProperties(const TiXmlElement* entity, Node& node) {
    const TiXmlElement* userData = entity->FirstChildElement("userData");
    if (!userData) return;
    for (const TiXmlElement* property = userData->FirstChildElement("property"); property;
         property = property->NextSiblingElement()) {
        const char* name = property->Attribute("name");
        if (!name) continue;
        const std::string key = name;
        if (key == "type") {
            if (const char* data = property->Attribute("data")) {
                node.type = data;
            } else {
                node.problems.push_back("type property without data");
            }
        } else if (key == "mass") {
            double mass = 0;
            if (property->QueryDoubleAttribute("data", &mass) == TIXML_SUCCESS) node.mass = static_cast<float>(mass);
        }
    }
}

void report(int index, const std::string& meshFile, const std::vector<std::string>& problems) {
    if (problems.empty()) return;
    std::cerr << "WARNING: scene node " << index << " (" << meshFile << "):";
    for (size_t i = 0; i < problems.size(); ++i) std::cerr << (i ? ", " : " ") << problems[i];
    std::cerr << "; using defaults" << std::endl;
}

}  // namespace

Vehicle* createVehicle(Game* game, const btVector3& position, const btQuaternion& orientation, int ordinal) {
    std::vector<boost::shared_ptr<Mesh>> bodies;
    for (const char* name : bodyMeshNames) bodies.push_back(MeshLibrary::instance().loadMesh(name));
    boost::shared_ptr<btConvexShape> shape = bodies.front()->createBoxHullShape();
    boost::shared_ptr<Mesh> wheel = MeshLibrary::instance().loadMesh(wheelMeshName);
    if (ordinal == playerOrdinal) {
        Vehicle* player = new Vehicle(game, position, "Player", orientation, bodies, wheel, shape);
        game->addCamera(new Camera(player));
        game->players.push_back(player);
        return player;
    }
    return new AIControlledVehicle(game, position, "Computer " + std::to_string(ordinal), orientation, bodies, wheel,
                                   shape);
}

bool loadSceneDocument(Game* game, const TiXmlDocument& document) {
    const TiXmlElement* element = TiXmlHandle(const_cast<TiXmlDocument*>(&document))
                                      .FirstChild("scene")
                                      .FirstChild("nodes")
                                      .FirstChild("node")
                                      .ToElement();
    if (!element) return false;
    int vehicleOrdinal = 0;
    int computerKarts = 0;
    // A level places one mesh file many times (trees, pads), and a reduced hull takes long to build:
    // each file's hull is built once, and every node gets a shape of its own, for its own scale.
    std::map<std::string, boost::shared_ptr<btConvexHullShape>> simplifiedHulls;
    auto simplifiedHull = [&simplifiedHulls](const std::string& meshFile, const Mesh& mesh) {
        boost::shared_ptr<btConvexHullShape>& hull = simplifiedHulls[meshFile];
        if (!hull) hull = mesh.createSimplifiedHullShape();
        return boost::shared_ptr<btCollisionShape>(
            new btConvexHullShape(&hull->getUnscaledPoints()[0][0], hull->getNumPoints()));
    };
    for (int index = 0; element; element = element->NextSiblingElement(), ++index) {
        Node node = readNode(element);
        const TiXmlElement* entity = element->FirstChildElement("entity");
        if (!entity) continue;
        const char* meshAttribute = entity->Attribute("meshFile");
        if (!meshAttribute) {
            std::cerr << "WARNING: scene node " << index << " has an entity without meshFile, skipped" << std::endl;
            continue;
        }
        readProperties(entity, node);
        const std::string meshFile = std::string(meshAttribute) + ".xml";
        if (node.type != "terrain" && node.type != "extrafield" && node.type != "vehicle" && node.mass != 0 &&
            !(std::isfinite(node.mass) && node.mass > 0)) {
            node.problems.push_back("mass not a positive number, using " + std::to_string(fallbackMass));
            node.mass = fallbackMass;
        }
        report(index, meshFile, node.problems);

        boost::shared_ptr<Mesh> mesh = MeshLibrary::instance().loadMesh(meshFile);
        mesh->setScale(node.scale.x(), node.scale.y(), node.scale.z());
        if (node.type == "terrain") {
            std::cout << "creating terrain from mesh: " << meshFile << std::endl;
            boost::shared_ptr<btCollisionShape> shape = mesh->createTriangleMeshShape();
            shape->setLocalScaling(node.scale);
            new StaticEntity(game, node.position, node.orientation, EntityKind::Static, mesh, shape);
        } else if (node.type == "extrafield") {
            std::cout << "creating extrafield from mesh: " << meshFile << std::endl;
            boost::shared_ptr<btCollisionShape> shape = simplifiedHull(meshFile, *mesh);
            shape->setLocalScaling(node.scale);
            new ExtraField(game, node.position, node.orientation, mesh, shape);
        } else if (node.type == "vehicle") {
            // The race may ask for fewer computer drivers than the grid has places: the later ones stay off.
            if (++vehicleOrdinal != playerOrdinal && computerKarts++ >= game->settings.computerDrivers) continue;
            std::cout << "creating vehicle from mesh: " << meshFile << std::endl;
            createVehicle(game, node.position, node.orientation, vehicleOrdinal);
        } else if (node.mass == 0) {
            std::cout << "creating static collision object from mesh: " << meshFile << std::endl;
            boost::shared_ptr<btCollisionShape> shape = simplifiedHull(meshFile, *mesh);
            shape->setLocalScaling(node.scale);
            new StaticEntity(game, node.position, node.orientation, EntityKind::Static, mesh, shape);
        } else {
            std::cout << "creating dynamic rigid body from mesh: " << meshFile << std::endl;
            boost::shared_ptr<btCollisionShape> shape = mesh->createConvexHullShape();
            shape->setLocalScaling(node.scale);
            new DynamicEntity(game, node.position, node.mass, node.orientation, EntityKind::Dynamic, mesh, shape);
        }
    }
    return true;
}

void loadScene(Game* game, std::string sceneFileName) {
    const std::string meshesDirectory = MeshLibrary::instance().getBasePath();
    const size_t dot = sceneFileName.find('.');
    loadCheckpoints(game, dot == std::string::npos ? "" : meshesDirectory + sceneFileName.substr(0, dot) + ".raw");
    const std::string scenePath = meshesDirectory + sceneFileName;
    TiXmlDocument document;
    loadXmlFile(document, scenePath);
    if (!loadSceneDocument(game, document)) std::cerr << "failed loading scene: " << scenePath << std::endl;
}
