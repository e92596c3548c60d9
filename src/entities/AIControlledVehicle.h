#pragma once

#include "entities/Vehicle.h"

// A kart driven by the computer: full throttle, two steering votes per sub-step, an item every 25 to 29 s.
class AIControlledVehicle : public Vehicle {
public:
    AIControlledVehicle(Game* game, const btVector3& position, std::string name, const btQuaternion& rotation,
                        std::vector<boost::shared_ptr<Mesh>> bodyMeshes, boost::shared_ptr<Mesh> wheelMesh,
                        boost::shared_ptr<btConvexShape> shape);

    void updateAction(btCollisionWorld* world, btScalar dt) override;

    static constexpr float steeringDeadBand = 0.05f;
    static constexpr double itemInterval = 25.0;  // seconds, plus 0 to 4 whole seconds

    double nextItemTime;  // race clock seconds

private:
    void steerAlongCourse();
    void useItemIfDue();
};
