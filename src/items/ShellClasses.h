#pragma once

// Gives both shell classes their meshes and box-hull shapes ("Shell.mesh.xml", "RedShell.mesh.xml").
void prepareShellClasses();
void releaseShellClasses();
