#pragma once

#include <vector>

#include "entities/StaticEntity.h"

class Vehicle;

// An item pick-up on the track; a taken field lies upside down until the last active one is taken.
class ExtraField : public StaticEntity {
public:
    ExtraField(Game* game, const btVector3& position, const btQuaternion& orientation,
               boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape);
    ~ExtraField() override;

    void render() override;
    // Gives the vehicle an item if it holds none and this field is active.
    void pickUp(Vehicle* vehicle);
    static void reactivateAll();

    bool active;

    static std::vector<ExtraField*> allFields;  // in order of creation
    static int32_t activeCount;
};
