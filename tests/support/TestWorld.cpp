#include "support/TestWorld.h"

#include <btBulletDynamicsCommon.h>

#include "assets/Mesh.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/MeshPatchVertexProperties.h"
#include "entities/AIControlledVehicle.h"
#include "entities/StaticEntity.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/GameClock.h"
#include "items/GreenShell.h"
#include "items/RedShell.h"
#include "items/ShellClasses.h"

const btVector3 TestWorld::kartHalfExtents(1.5f, 0.8f, 2.25f);

boost::shared_ptr<Mesh> makeMesh(const std::vector<float>& positions, const std::vector<unsigned int>& indices) {
    MeshPatchGeometry* geometry = new MeshPatchGeometry();
    geometry->vertexCount = static_cast<uint32_t>(positions.size() / 3);
    geometry->indexCount = static_cast<uint32_t>(indices.size());
    geometry->positions.reset(new float[positions.size()]);
    std::copy(positions.begin(), positions.end(), geometry->positions.get());
    geometry->indices.reset(new unsigned int[indices.size()]);
    std::copy(indices.begin(), indices.end(), geometry->indices.get());
    boost::shared_ptr<Mesh> mesh(new Mesh());
    mesh->addPatch(boost::shared_ptr<MeshPatch>(new MeshPatch(geometry, new MeshPatchVertexProperties(),
                                                              boost::shared_ptr<MeshPatchProperties>())));
    return mesh;
}

void appendBox(std::vector<float>& positions, std::vector<unsigned int>& indices, const btVector3& h,
               const btVector3& c) {
    const unsigned int first = static_cast<unsigned int>(positions.size() / 3);
    for (int i = 0; i < 8; ++i) {
        positions.push_back(c.x() + ((i & 1) ? h.x() : -h.x()));
        positions.push_back(c.y() + ((i & 2) ? h.y() : -h.y()));
        positions.push_back(c.z() + ((i & 4) ? h.z() : -h.z()));
    }
    // Counter-clockwise seen from outside.
    const unsigned int corners[] = {0, 2, 1, 1, 2, 3, 4, 5, 6, 5, 7, 6, 0, 1, 4, 1, 5, 4,
                                    2, 6, 3, 3, 6, 7, 0, 4, 2, 2, 4, 6, 1, 3, 5, 3, 7, 5};
    for (unsigned int corner : corners) indices.push_back(first + corner);
}

boost::shared_ptr<Mesh> makeBoxMesh(const btVector3& h, const btVector3& c) {
    std::vector<float> positions;
    std::vector<unsigned int> indices;
    appendBox(positions, indices, h, c);
    return makeMesh(positions, indices);
}

TestWorld::TestWorld() {
    GameClock::useSimulatedTime(0);  // no window: the sub-steps drive the clock
    media.startLibraries();
    game.reset(new Game());
}

TestWorld::~TestWorld() {
    game.reset();
    releaseShellClasses();
    GameClock::useWindowTimer();
}

void TestWorld::prepareShells() {
    GreenShell::mesh = RedShell::mesh = makeBoxMesh(btVector3(0.8f, 0.5f, 0.8f));
    GreenShell::setShape(GreenShell::mesh->createBoxHullShape());
    RedShell::setShape(RedShell::mesh->createBoxHullShape());
}

StaticEntity* TestWorld::addTerrain(const std::vector<Block>& blocks) {
    std::vector<float> positions;
    std::vector<unsigned int> indices;
    for (const Block& block : blocks) appendBox(positions, indices, block.halfExtents, block.centre);
    boost::shared_ptr<Mesh> mesh = makeMesh(positions, indices);
    return new StaticEntity(game.get(), btVector3(0, 0, 0), btQuaternion::getIdentity(), EntityKind::Static, mesh,
                            mesh->createTriangleMeshShape());
}

StaticEntity* TestWorld::addFloor(float y, float halfSize) { return addTerrain({floorBlock(y, halfSize)}); }

TestWorld::Block TestWorld::floorBlock(float y, float halfSize) {
    return {btVector3(0, y - 1, 0), btVector3(halfSize, 1, halfSize)};
}

Vehicle* TestWorld::addVehicle(const btVector3& position, bool computer, const std::string& name,
                               const btVector3& halfExtents) {
    const btQuaternion rotation = btQuaternion::getIdentity();
    std::vector<boost::shared_ptr<Mesh>> bodies;
    for (int i = 0; i < 7; ++i) {
        bodies.push_back(halfExtents.isZero() ? boost::shared_ptr<Mesh>(new Mesh()) : makeBoxMesh(halfExtents));
    }
    boost::shared_ptr<btConvexShape> shape = bodies.front()->createBoxHullShape();
    boost::shared_ptr<Mesh> wheel = makeBoxMesh(btVector3(0.25f, 0.4f, 0.4f));
    if (computer) return new AIControlledVehicle(game.get(), position, name, rotation, bodies, wheel, shape);
    return new Vehicle(game.get(), position, name, rotation, bodies, wheel, shape);
}

void TestWorld::step(int subSteps) {
    for (int i = 0; i < subSteps; ++i) game->dynamicsWorld->stepSimulation(subStep, 1, subStep);
}

int TestWorld::stepUntil(const std::function<bool()>& done, int limit, Vehicle* driver) {
    for (int taken = 1; taken <= limit; ++taken) {
        if (driver) driver->accelerate();
        step();
        if (done()) return taken;
    }
    return -1;
}
