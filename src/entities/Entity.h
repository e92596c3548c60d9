#pragma once

#include <boost/shared_ptr.hpp>

#include "entities/EntityTag.h"
#include "entities/Renderable.h"

class btCollisionShape;
class btTransform;
class Game;
class Mesh;

// Something placed in the world with a mesh, a collision shape and a transform.
class Entity : public Renderable {
public:
    ~Entity() override;
    Entity(const Entity&) = delete;  // owns its tag and, in subclasses, physics objects
    Entity& operator=(const Entity&) = delete;

    void render() override;
    float getBoundingRadius() override;
    btVector3 getBoundingCenter() override;
    virtual void getWorldTransform(btTransform& out) const = 0;

    Game* game;
    EntityTag* tag;  // owned
    boost::shared_ptr<Mesh> mesh;
    boost::shared_ptr<btCollisionShape> shape;

protected:
    Entity(Game* game, EntityKind kind, boost::shared_ptr<Mesh> mesh, boost::shared_ptr<btCollisionShape> shape);
    // Multiplies the current OpenGL matrix by the world transform.
    void multiplyWorldTransform() const;
};
