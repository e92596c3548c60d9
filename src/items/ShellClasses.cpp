#include "items/ShellClasses.h"

#include <btBulletCollisionCommon.h>

#include "assets/Mesh.h"
#include "assets/MeshLibrary.h"
#include "items/GreenShell.h"
#include "items/RedShell.h"

void prepareShellClasses() {
    boost::shared_ptr<Mesh> green = MeshLibrary::instance().loadMesh("Shell.mesh.xml");
    GreenShell::setShape(green->createBoxHullShape());
    GreenShell::mesh = green;
    boost::shared_ptr<Mesh> red = MeshLibrary::instance().loadMesh("RedShell.mesh.xml");
    RedShell::setShape(red->createBoxHullShape());
    RedShell::mesh = red;
}

void releaseShellClasses() {
    GreenShell::mesh.reset();
    GreenShell::shape.reset();
    RedShell::mesh.reset();
    RedShell::shape.reset();
}
