#include "SceneWriter.h"

#include <cmath>
#include <sstream>

#include "NumberFormat.h"
#include "PortableMath.h"

namespace {

std::string attributes(const char* names, const double* values, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += std::string(i ? " " : "") + names[i] + "=\"" + formatNumber(values[i], 5) + "\"";
    }
    return text;
}

}  // namespace

Quaternion Quaternion::yaw(double radians) { return {0, portable::sin(radians / 2), 0, portable::cos(radians / 2)}; }

Quaternion Quaternion::fromBasis(const Basis& b) {
    // m[row][column]; the columns are the basis vectors.
    const double m00 = b.x.x, m10 = b.x.y, m20 = b.x.z;
    const double m01 = b.y.x, m11 = b.y.y, m21 = b.y.z;
    const double m02 = b.z.x, m12 = b.z.y, m22 = b.z.z;
    const double trace = m00 + m11 + m22;
    Quaternion q;
    if (trace > 0) {
        const double s = 0.5 / std::sqrt(trace + 1);
        q = {(m21 - m12) * s, (m02 - m20) * s, (m10 - m01) * s, 0.25 / s};
    } else if (m00 > m11 && m00 > m22) {
        const double s = 2 * std::sqrt(1 + m00 - m11 - m22);
        q = {0.25 * s, (m01 + m10) / s, (m02 + m20) / s, (m21 - m12) / s};
    } else if (m11 > m22) {
        const double s = 2 * std::sqrt(1 + m11 - m00 - m22);
        q = {(m01 + m10) / s, 0.25 * s, (m12 + m21) / s, (m02 - m20) / s};
    } else {
        const double s = 2 * std::sqrt(1 + m22 - m00 - m11);
        q = {(m02 + m20) / s, (m12 + m21) / s, 0.25 * s, (m10 - m01) / s};
    }
    return q;
}

std::string SceneWriter::toXml(const std::vector<SceneNode>& nodes) {
    std::ostringstream xml;
    xml << "<scene formatVersion=\"1.0\">\n<nodes>\n";
    for (const SceneNode& node : nodes) {
        const double position[3] = {node.position.x, node.position.y, node.position.z};
        const double rotation[4] = {node.rotation.x, node.rotation.y, node.rotation.z, node.rotation.w};
        const double scale[3] = {node.scale.x, node.scale.y, node.scale.z};
        xml << "<node name=\"" << node.name << "\">\n";
        xml << "  <position " << attributes("xyz", position, 3) << "/>\n";
        xml << "  <quaternion " << attributes("xyzw", rotation, 4) << "/>\n";
        xml << "  <scale " << attributes("xyz", scale, 3) << "/>\n";
        xml << "  <entity name=\"" << node.name << "\" meshFile=\"" << node.meshFile << "\">\n    <userData>\n";
        xml << "      <property type=\"STRING\" name=\"type\" data=\"" << node.type << "\"/>\n";
        if (node.mass != 0) {
            xml << "      <property type=\"FLOAT\" name=\"mass\" data=\"" << formatNumber(node.mass, 3) << "\"/>\n";
        }
        xml << "    </userData>\n  </entity>\n</node>\n";
    }
    xml << "</nodes>\n</scene>\n";
    return xml.str();
}
