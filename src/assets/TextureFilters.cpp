#include "assets/TextureFilters.h"

#include <GL/gl.h>

#include "assets/TextureLibrary.h"
#include "game/MessageLog.h"
#include "game/RenderSettings.h"

void applyTextureFilters() {
    const bool nearest = renderSettings.nearestFiltering;
    renderSettings.magFilter = nearest ? GL_NEAREST : GL_LINEAR;
    showMessage(nearest ? "New mag filter: GL_NEAREST" : "New mag filter: GL_LINEAR");

    struct Choice {
        unsigned int filter;
        const char* message;
    };
    static const Choice nearestChoices[3] = {
        {GL_NEAREST, "New min filter: GL_NEAREST"},
        {GL_NEAREST_MIPMAP_NEAREST, "New min filter: GL_NEAREST_MIPMAP_NEAREST"},
        {GL_NEAREST_MIPMAP_LINEAR, "New min filter: GL_NEAREST_MIPMAP_LINEAR"}};
    static const Choice linearChoices[3] = {
        {GL_LINEAR, "New min filter: GL_LINEAR"},
        {GL_LINEAR_MIPMAP_NEAREST, "New min filter: GL_LINEAR_MIPMAP_NEAREST"},
        {GL_LINEAR_MIPMAP_LINEAR, "New min filter: GL_LINEAR_MIPMAP_LINEAR"}};
    const int mode = ((renderSettings.mipmapMode % 3) + 3) % 3;
    const Choice& choice = (nearest ? nearestChoices : linearChoices)[mode];
    renderSettings.minFilter = choice.filter;
    showMessage(choice.message);
    TextureLibrary::instance().applyFilters();
}
