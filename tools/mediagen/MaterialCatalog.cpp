#include "MaterialCatalog.h"

#include <sstream>

#include "MediaNames.h"
#include "NumberFormat.h"

namespace {

// Lit exactly as the texture looks: the light's ambient and diffuse parts add up to about one.
MaterialDefinition textured(const char* name, const char* file, double shine = 0.05, double shininess = 8) {
    return {name, {0.85, 0.85, 0.85}, {0.95, 0.95, 0.95}, {shine, shine, shine}, shininess, file};
}

MaterialDefinition plain(const char* name, double r, double g, double b, double shine = 0.1, double shininess = 10) {
    return {name, {r, g, b}, {r, g, b}, {shine, shine, shine}, shininess, ""};
}

std::string colour(const double (&rgb)[3]) {
    return formatNumber(rgb[0], 3) + " " + formatNumber(rgb[1], 3) + " " + formatNumber(rgb[2], 3) + " 1";
}

}  // namespace

const std::vector<MaterialDefinition>& MaterialCatalog::all() {
    static const std::vector<MaterialDefinition> materials = {
        textured(material::road, texture::asphalt),
        textured(material::kerb, texture::kerb, 0.1),
        textured(material::startLine, texture::startLine, 0.1),
        textured(material::barrier, texture::barrier, 0.15, 12),
        textured(material::barrierTop, texture::concrete),
        textured(material::grass, texture::grass, 0.0, 0),
        {material::kartBody, {0.95, 0.95, 0.95}, {1.0, 1.0, 1.0}, {0.7, 0.7, 0.7}, 40, texture::kart},
        plain(material::kartTrim, 0.13, 0.13, 0.16, 0.3, 20),
        plain(material::kartMetal, 0.6, 0.62, 0.66, 0.8, 60),
        plain(material::driverSuit, 0.12, 0.3, 0.9, 0.2, 10),
        plain(material::helmet, 0.97, 0.97, 0.97, 0.8, 60),
        plain(material::visor, 0.05, 0.05, 0.08, 0.9, 80),
        textured(material::tyre, texture::tyre),
        plain(material::hub, 0.78, 0.78, 0.82, 0.9, 60),
        textured(material::greenShell, texture::greenShell, 0.6, 40),
        textured(material::redShell, texture::redShell, 0.6, 40),
        plain(material::shellRim, 0.97, 0.97, 0.92, 0.4, 20),
        plain(material::shellBase, 0.92, 0.86, 0.62, 0.2, 10),
        plain(material::dust, 0.8, 0.72, 0.6, 0.0, 0),
        {material::fieldTop, {1.0, 1.0, 1.0}, {1.0, 1.0, 1.0}, {0.3, 0.3, 0.3}, 20, texture::itemField},
        plain(material::fieldSide, 0.1, 0.85, 1.0, 0.3, 20),
        plain(material::fieldUnder, 0.12, 0.12, 0.16, 0.05, 4),
        textured(material::crate, texture::crate),
        textured(material::barrel, texture::barrel, 0.4, 30),
        plain(material::barrelLid, 0.4, 0.4, 0.44, 0.6, 40),
        textured(material::bark, texture::bark, 0.0, 0),
        textured(material::needles, texture::needles, 0.0, 0),
        textured(material::crown, texture::crown, 0.0, 0),
        textured(material::rock, texture::rock),
        textured(material::concrete, texture::concrete),
        textured(material::crowd, texture::crowd),
        plain(material::roof, 0.85, 0.16, 0.12, 0.3, 20),
        textured(material::banner, texture::banner, 0.1),
        plain(material::post, 0.88, 0.88, 0.9, 0.5, 30),
    };
    return materials;
}

std::string MaterialCatalog::script() {
    std::ostringstream text;
    for (const MaterialDefinition& material : all()) {
        // Every block gives all four colours, so none is taken over from the block before it.
        text << "material " << material.name << "\n{\n\ttechnique\n\t{\n\t\tpass\n\t\t{\n";
        text << "\t\t\tambient " << colour(material.ambient) << "\n";
        text << "\t\t\tdiffuse " << colour(material.diffuse) << "\n";
        text << "\t\t\tspecular " << colour(material.specular) << " " << formatNumber(material.shininess, 1) << "\n";
        text << "\t\t\temissive 0 0 0 1\n";
        if (!material.texture.empty())
            text << "\t\t\ttexture_unit\n\t\t\t{\n\t\t\t\ttexture " << material.texture << "\n\t\t\t}\n";
        text << "\t\t}\n\t}\n}\n\n";
    }
    return text.str();
}
