// The default level the build generates: it loads cleanly, its course covers the road, and its
// loose objects settle on the track.
#include <btBulletDynamicsCommon.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <vector>

#include "app/ProcessLibraries.h"
#include "assets/MaterialLibrary.h"
#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "assets/MeshPatch.h"
#include "assets/MeshPatchGeometry.h"
#include "entities/DynamicEntity.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/RenderSettings.h"
#include "level/Course.h"
#include "level/SceneLoader.h"
#include "support/TestMedia.h"

namespace {

// Materials of the drivable surface in the track mesh: asphalt, kerbs and the start line.
const char* const roadMaterials[] = {"TrackAsphalt", "TrackKerb", "TrackStartLine"};
const char* const trackMesh = "Track.mesh.xml";
const char* const fixedMeshes[] = {"VorbelC.mesh.xml",    "VorbelL2.mesh.xml", "VorbelL3.mesh.xml", "VorbelL4.mesh.xml",
                                   "VorbelL5.mesh.xml",   "VorbelL6.mesh.xml", "VorbelL7.mesh.xml", "Wheel.mesh.xml",
                                   "DustSphere.mesh.xml", "Shell.mesh.xml",    "RedShell.mesh.xml"};

const float flattestFloor = 0.8f;  // smallest y of a road normal; the game's floor test is 0.707
const float roadReach = 25;        // a road point lies this close to its own segment's line at most
const int gridSize = 8;
const float settleSeconds = 4;
const float restingSpeed = 0.05f;  // units per second, and radians per second
const float restingGap = 0.15f;    // between an object's lowest point and the road under it

// The level loaded into a fresh game from the built media, with standard error captured.
class DefaultLevel : public ::testing::Test {
protected:
    void SetUp() override {
        errors.reset(new CapturedStream(std::cerr));
        startProcessLibraries(builtMediaPrefix());
        game.reset(new Game());
        loadScene(game.get(), Game::levelFileName);
    }

    void TearDown() override {
        game.reset();
        stopProcessLibraries();
        errors.reset();
    }

    // Corners of every road triangle of the track mesh, three per triangle.
    std::vector<btVector3> roadTriangles() const {
        std::set<const MeshPatchProperties*> road;
        for (const char* name : roadMaterials) road.insert(MaterialLibrary::instance().getMaterial(name).get());
        std::vector<btVector3> corners;
        const boost::shared_ptr<Mesh> track = MeshLibrary::instance().loadMesh(trackMesh);
        for (const boost::shared_ptr<MeshPatch>& patch : track->patches) {
            if (!road.count(patch->properties.get())) continue;
            const MeshPatchGeometry& geometry = *patch->getGeometry();
            for (uint32_t i = 0; i < geometry.indexCount; ++i) {
                const float* p = &geometry.positions[3 * geometry.indices[i]];
                corners.push_back(btVector3(p[0], p[1], p[2]));
            }
        }
        return corners;
    }

    std::unique_ptr<CapturedStream> errors;
    std::unique_ptr<Game> game;
};

TEST_F(DefaultLevel, LoadsCleanlyWithEightKartsOnARoadTheCourseCoversAndKartsCanClimb) {
    for (const char* name : fixedMeshes) EXPECT_FALSE(MeshLibrary::instance().loadMesh(name)->patches.empty()) << name;
    EXPECT_EQ(errors->text(), "");
    ASSERT_EQ(game->vehicles.size(), gridSize);

    const std::vector<btVector3> corners = roadTriangles();
    ASSERT_GE(corners.size(), 3000u);
    const Course& course = *game->course;
    int uncovered = 0, steep = 0, strayed = 0;
    for (size_t t = 0; t + 2 < corners.size(); t += 3) {
        const btVector3 &a = corners[t], &b = corners[t + 1], &c = corners[t + 2];
        const btVector3 normal = (b - a).cross(c - a).normalized();
        if (normal.y() < flattestFloor) ++steep;  // also catches triangles wound upside down
        const btVector3 centroid = (a + b + c) / 3;
        // The centroid and points just inside each corner, so the road's edges are sampled too.
        const btVector3 samples[] = {centroid, a.lerp(centroid, 0.05f), b.lerp(centroid, 0.05f),
                                     c.lerp(centroid, 0.05f)};
        for (const btVector3& p : samples) {
            const int segment = findCheckpoint(p, course);
            if (segment < 0) {
                ++uncovered;
                continue;
            }
            const CourseSegment& s = course.segments[segment];
            if (s.direction.cross(s.start - p).length() > roadReach) ++strayed;
        }
    }
    EXPECT_EQ(uncovered, 0);
    EXPECT_EQ(strayed, 0);
    EXPECT_EQ(steep, 0);
}

TEST_F(DefaultLevel, LooseObjectsFallOntoTheTrackAndComeToRest) {
    std::vector<DynamicEntity*> loose;
    for (int i = 0; i < game->entities.size(); ++i) {
        if (game->entities[i]->tag->kind == EntityKind::Dynamic)
            loose.push_back(static_cast<DynamicEntity*>(game->entities[i]));
    }
    ASSERT_GE(loose.size(), 3u);
    // The computer drivers stay on the grid, out of the objects' way.
    const bool aiDriving = renderSettings.aiDrivingEnabled;
    renderSettings.aiDrivingEnabled = false;
    const float step = 1.0f / 60.0f;
    for (int i = 0; i < static_cast<int>(settleSeconds / step); ++i) game->dynamicsWorld->stepSimulation(step, 1, step);
    renderSettings.aiDrivingEnabled = aiDriving;

    for (size_t i = 0; i < loose.size(); ++i) {
        btRigidBody* body = loose[i]->getRigidBody();
        EXPECT_LT(body->getLinearVelocity().length(), restingSpeed) << "object " << i;
        EXPECT_LT(body->getAngularVelocity().length(), restingSpeed) << "object " << i;
        btVector3 low, high;
        body->getCollisionShape()->getAabb(body->getWorldTransform(), low, high);
        const btVector3 from = body->getWorldTransform().getOrigin();
        const btVector3 to = from - btVector3(0, 10, 0);
        btCollisionWorld::ClosestRayResultCallback below(from, to);
        below.m_collisionFilterMask = btBroadphaseProxy::StaticFilter;
        game->dynamicsWorld->rayTest(from, to, below);
        ASSERT_TRUE(below.hasHit()) << "object " << i << " has no road under it";
        EXPECT_NEAR(low.y(), below.m_hitPointWorld.y(), restingGap) << "object " << i;
        EXPECT_GE(below.m_hitNormalWorld.y(), flattestFloor) << "object " << i << " rests on a wall";
    }
}

}  // namespace
