#include "assets/MeshPatch.h"

#include <GL/glew.h>

#include "assets/MeshPatchGeometry.h"
#include "assets/MeshPatchProperties.h"
#include "assets/MeshPatchVertexProperties.h"
#include "assets/Texture.h"
#include "game/RenderSettings.h"

namespace {

void uploadBuffer(GLenum target, unsigned int& name, const void* data, size_t bytes) {
    glGenBuffers(1, &name);
    glBindBuffer(target, name);
    glBufferData(target, static_cast<GLsizeiptr>(bytes), data, GL_STATIC_DRAW);
}

// Enables a client array when its attribute is present, disables it otherwise.
void setClientArray(GLenum array, bool present) {
    if (present) {
        glEnableClientState(array);
    } else {
        glDisableClientState(array);
    }
}

}  // namespace

MeshPatch::MeshPatch(MeshPatchGeometry* geometry, MeshPatchVertexProperties* vertexProperties,
                     boost::shared_ptr<MeshPatchProperties> properties)
    : geometry(geometry),
      properties(properties),
      vertexProperties(vertexProperties),
      positionBuffer(0),
      indexBuffer(0),
      normalBuffer(0),
      colorBuffer(0),
      texCoordBuffer(0) {}

MeshPatch::~MeshPatch() {
    for (unsigned int* buffer : {&positionBuffer, &indexBuffer, &normalBuffer, &colorBuffer, &texCoordBuffer}) {
        if (*buffer != 0) glDeleteBuffers(1, buffer);
    }
}

void MeshPatch::applyMaterial() const {
    if (!properties) return;
    properties->apply();
    if (properties->texture) {
        properties->texture->bind();
        glEnable(GL_TEXTURE_2D);
    }
}

void MeshPatch::finishMaterial() const {
    if (properties && properties->texture) glDisable(GL_TEXTURE_2D);
}

void MeshPatch::render() {
    int mode = renderSettings.vertexMode;
    // Buffer mode needs the extension; start-up and the F6 cycle keep it off without one.
    if (mode == 2 && !renderSettings.vertexBuffersSupported) mode = 1;
    if (mode == 2) {
        renderWithBuffers();
        return;
    }
    const bool compile = renderSettings.displayLists && displayList == 0;
    if (renderSettings.displayLists && !compile) {
        glCallList(displayList);
        return;
    }
    if (compile) {
        // A first upload recorded into the list would be replayed, all mipmaps, every frame.
        if (properties && properties->texture && !properties->texture->uploaded) properties->texture->upload();
        displayList = glGenLists(1);
        glNewList(displayList, GL_COMPILE);
    }
    renderDirect(mode);
    if (compile) glEndList();
    if (renderSettings.displayLists) glCallList(displayList);
}

void MeshPatch::createBuffers() {
    uploadBuffer(GL_ARRAY_BUFFER, positionBuffer, geometry->positions.get(), geometry->vertexCount * 3 * sizeof(float));
    uploadBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer, geometry->indices.get(),
                 geometry->indexCount * sizeof(unsigned int));
    if (!vertexProperties) return;
    const size_t vertices = geometry->vertexCount;
    if (vertexProperties->normals) {
        uploadBuffer(GL_ARRAY_BUFFER, normalBuffer, vertexProperties->normals.get(), vertices * 3 * sizeof(float));
    }
    if (vertexProperties->colors) {
        uploadBuffer(GL_ARRAY_BUFFER, colorBuffer, vertexProperties->colors.get(), vertices * 4 * sizeof(float));
    }
    if (vertexProperties->texCoords) {
        uploadBuffer(GL_ARRAY_BUFFER, texCoordBuffer, vertexProperties->texCoords.get(), vertices * 2 * sizeof(float));
    }
}

void MeshPatch::renderWithBuffers() {
    applyMaterial();
    if (positionBuffer == 0) createBuffers();
    const bool hasColors = vertexProperties && vertexProperties->colors;
    const bool hasNormals = vertexProperties && vertexProperties->normals;
    const bool hasTexCoords = vertexProperties && vertexProperties->texCoords;

    glEnableClientState(GL_VERTEX_ARRAY);
    glBindBuffer(GL_ARRAY_BUFFER, positionBuffer);
    glVertexPointer(3, GL_FLOAT, 12, nullptr);
    setClientArray(GL_COLOR_ARRAY, hasColors);
    if (hasColors) {
        glBindBuffer(GL_ARRAY_BUFFER, colorBuffer);
        glColorPointer(4, GL_FLOAT, 0, nullptr);
    }
    setClientArray(GL_NORMAL_ARRAY, hasNormals);
    if (hasNormals) {
        glBindBuffer(GL_ARRAY_BUFFER, normalBuffer);
        glNormalPointer(GL_FLOAT, 12, nullptr);
    }
    setClientArray(GL_TEXTURE_COORD_ARRAY, hasTexCoords);
    if (hasTexCoords) {
        glBindBuffer(GL_ARRAY_BUFFER, texCoordBuffer);
        glTexCoordPointer(2, GL_FLOAT, 8, nullptr);
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, indexBuffer);
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(geometry->indexCount), GL_UNSIGNED_INT, nullptr);
    finishMaterial();
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
}

void MeshPatch::renderDirect(int mode) {
    applyMaterial();
    const float* positions = geometry->positions.get();
    const unsigned int* indices = geometry->indices.get();
    const float* colors = vertexProperties ? vertexProperties->colors.get() : nullptr;
    const float* normals = vertexProperties ? vertexProperties->normals.get() : nullptr;
    const float* texCoords = vertexProperties ? vertexProperties->texCoords.get() : nullptr;
    if (mode == 1) {
        glEnableClientState(GL_VERTEX_ARRAY);
        glVertexPointer(3, GL_FLOAT, 12, positions);
        setClientArray(GL_COLOR_ARRAY, colors);
        if (colors) glColorPointer(4, GL_FLOAT, 0, colors);
        setClientArray(GL_NORMAL_ARRAY, normals);
        if (normals) glNormalPointer(GL_FLOAT, 12, normals);
        setClientArray(GL_TEXTURE_COORD_ARRAY, texCoords);
        if (texCoords) glTexCoordPointer(2, GL_FLOAT, 8, texCoords);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(geometry->indexCount), GL_UNSIGNED_INT, indices);
    } else {
        glBegin(GL_TRIANGLES);
        for (uint32_t i = 0; i < geometry->indexCount; ++i) {
            const unsigned int k = indices[i];
            if (colors) glColor4fv(colors + 4 * k);
            if (normals) glNormal3fv(normals + 3 * k);
            if (texCoords) glTexCoord2fv(texCoords + 2 * k);
            glVertex3fv(positions + 3 * k);
        }
        glEnd();
    }
    finishMaterial();
}
