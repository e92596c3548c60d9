#include "items/ExtraField.h"

#include <algorithm>

#include <GL/gl.h>
#include <LinearMath/btTransform.h>

#include "assets/Mesh.h"
#include "entities/Vehicle.h"
#include "game/Game.h"
#include "game/RaceEvents.h"

std::vector<ExtraField*> ExtraField::allFields;
int32_t ExtraField::activeCount = 0;

ExtraField::ExtraField(Game* game, const btVector3& position, const btQuaternion& orientation,
                       boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape)
    : StaticEntity(game, position, orientation, EntityKind::ExtraField, mesh, shape), active(true) {
    allFields.push_back(this);
    ++activeCount;
}

ExtraField::~ExtraField() {
    auto place = std::find(allFields.begin(), allFields.end(), this);
    if (place != allFields.end()) allFields.erase(place);
    if (active) --activeCount;
}

void ExtraField::render() {
    glPushMatrix();
    multiplyWorldTransform();
    // A taken field lies upside down until the fields come back.
    if (!active) glRotatef(180, 1, 0, 0);
    if (mesh) mesh->render();
    glPopMatrix();
}

void ExtraField::pickUp(Vehicle* vehicle) {
    if (vehicle->heldItem != ItemType::none || !active) return;
    --activeCount;
    active = false;
    if (activeCount == 0) reactivateAll();
    vehicle->chooseRandomItem();
    game->events->itemTaken(*vehicle);
}

void ExtraField::reactivateAll() {
    for (ExtraField* field : allFields) {
        if (!field->active) ++activeCount;
        field->active = true;
    }
}
