#pragma once

#include <cstdint>

class Entity;

// What kind of entity owns a collision object; stored in every tag.
enum class EntityKind : int32_t {
    Dynamic = 0,
    Static = 1,
    Vehicle = 2,
    Projectile = 3,
    ExtraField = 4,
};

// User pointer of every entity's collision object: leads from a contact or ray hit back to the entity.
struct EntityTag {
    EntityKind kind;
    Entity* entity;
};
