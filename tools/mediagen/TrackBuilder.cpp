#include "TrackBuilder.h"

#include <algorithm>
#include <cmath>

#include "Circuit.h"
#include "MediaNames.h"
#include "TrackLayout.h"

namespace {

const double pi = 3.14159265358979323846;

// Lateral positions of the road's vertex columns, right to left: kerb, two asphalt halves, kerb.
// The road is flat across, so more columns would add triangles but no shape.
const double roadEdge = TrackBuilder::halfWidth;
const double kerbInside = TrackBuilder::halfWidth - TrackBuilder::kerbWidth;
const std::vector<double> columns = {-roadEdge, -kerbInside, 0, kerbInside, roadEdge};
const int lastColumn = static_cast<int>(columns.size()) - 1;

const double asphaltTile = 12.0;  // units per repeat of the asphalt texture
const double kerbTile = 4.0;      // one red and one white stripe
const double wallTile = 8.0;      // one blue and one white panel
const double grassTile = 16.0;    // same as the ground, so the embankment continues it
const double capTextureWidth = 4.0;  // the barrier top's concrete: a quarter of the texture across its unit

// Four vertices of a strip between two cross-sections, wound counter-clockwise seen from the
// side `outward` points to.
void addStripQuad(MeshBuilder& mesh, const std::string& material, int p0, int q0, int p1, int q1,
                  const Vec3& p0Position, const Vec3& q0Position, const Vec3& p1Position, const Vec3& outward) {
    if ((p1Position - p0Position).cross(q0Position - p0Position).dot(outward) > 0) {
        mesh.addTriangle(material, p0, p1, q1);
        mesh.addTriangle(material, p0, q1, q0);
    } else {
        mesh.addTriangle(material, p0, q0, q1);
        mesh.addTriangle(material, p0, q1, p1);
    }
}

}  // namespace

TrackBuilder::TrackBuilder(const Circuit& circuit)
    : layout(circuit.layout), wallHeight(circuit.wallHeight), lip(circuit.barrierLip) {}

double TrackBuilder::capThickness() const { return lip > 0 ? lipThickness : 0; }

double TrackBuilder::lapTexture(double s, double period) const {
    const double repeats = std::max(1.0, std::round(layout.length() / period));
    return s * repeats / layout.length();
}

std::vector<TrackBuilder::Station> TrackBuilder::stations() const {
    // The first row of quads is the start line, from -startLineHalfDepth to +startLineHalfDepth.
    // Then every piece is cut evenly, finer on curves. A copy of the
    // first station closes the lap, so the last row meets the first without a crack.
    const double lap = layout.length();
    std::vector<double> distances = {-startLineHalfDepth};
    for (int i = 0; i < layout.pieceCount(); ++i) {
        const double begin = std::max(layout.pieceStart(i), startLineHalfDepth);
        const double end = std::min(layout.pieceStart(i) + layout.piece(i).length, lap - startLineHalfDepth);
        const double radius = layout.piece(i).radius;
        const double spacing = radius > 0 ? std::min(stationSpacing, radius * stationTurnDegrees * pi / 180)
                                          : stationSpacing;
        const int parts = std::max(1, static_cast<int>(std::ceil((end - begin) / spacing)));
        for (int k = 0; k < parts; ++k) distances.push_back(begin + (end - begin) * k / parts);
    }

    std::vector<Station> result;
    for (double s : distances) {
        const TrackFrame frame = layout.frameAt(s);
        Station station{s, s, frame.up, frame.left, {}};
        for (double lateral : columns) station.road.push_back(layout.surfacePoint(s, lateral));
        result.push_back(station);
    }
    Station closing = result.front();
    closing.textureS = lap - startLineHalfDepth;
    result.push_back(closing);
    return result;
}

void TrackBuilder::addRoad(MeshBuilder& mesh, const std::vector<Station>& all) const {
    const int columnCount = static_cast<int>(columns.size());
    // Vertex index per station and column, one table per material, so neighbouring quads share corners.
    std::vector<int> roadIndex(all.size() * columns.size(), -1), kerbIndex = roadIndex, lineIndex = roadIndex;
    auto vertex = [&](const std::string& material, std::vector<int>& table, int station, int column) {
        int& index = table[static_cast<size_t>(station * columnCount + column)];
        if (index >= 0) return index;
        const Station& at = all[station];
        const double lateral = columns[column];
        MeshVertex v{at.road[column], at.up, 0, 0};
        if (material == material::road) {
            v.u = lateral / asphaltTile;
            v.v = lapTexture(at.textureS, asphaltTile);
        } else if (material == material::kerb) {
            v.u = (std::fabs(lateral) - kerbInside) / kerbWidth;
            v.v = lapTexture(at.textureS, kerbTile);
        } else {
            // Checks of about 1.5 units: two rows across the line's depth.
            v.u = (lateral + kerbInside) / (2 * startLineHalfDepth);
            v.v = (at.textureS + startLineHalfDepth) / (2 * startLineHalfDepth);
        }
        index = mesh.addVertex(material, v);
        return index;
    };
    for (int row = 0; row + 1 < static_cast<int>(all.size()); ++row) {
        for (int column = 0; column < lastColumn; ++column) {
            const bool kerb = column == 0 || column == lastColumn - 1;
            const std::string material = kerb ? material::kerb : row == 0 ? material::startLine : material::road;
            std::vector<int>& table = kerb ? kerbIndex : row == 0 ? lineIndex : roadIndex;
            // a and b on this station (b further left), c and d on the next: a, d, c, b runs
            // counter-clockwise seen from above.
            const int a = vertex(material, table, row, column);
            const int b = vertex(material, table, row, column + 1);
            const int c = vertex(material, table, row + 1, column + 1);
            const int d = vertex(material, table, row + 1, column);
            mesh.addTriangle(material, a, d, c);
            mesh.addTriangle(material, a, c, b);
        }
    }
}

void TrackBuilder::addWall(MeshBuilder& mesh, const std::vector<Station>& all, double side) const {
    // Each face of the wall is a strip along the lap between two lines of the cross-section.
    struct Face {
        const char* material;
        std::vector<int> first, second;  // vertex indices per station
        std::vector<Vec3> firstPosition, secondPosition;
        std::vector<Vec3> outward;  // face normal per station, to wind the strip
    };
    Face inner{material::barrier, {}, {}, {}, {}, {}};
    Face under{material::barrierTop, {}, {}, {}, {}, {}};
    Face front{material::barrierTop, {}, {}, {}, {}, {}};
    Face top{material::barrierTop, {}, {}, {}, {}, {}};
    Face slope{material::grass, {}, {}, {}, {}, {}};
    const Vec3 up(0, 1, 0);
    for (const Station& station : all) {
        const Vec3 edge = station.road[side > 0 ? lastColumn : 0];
        const Vec3 out = station.left * side;
        const Vec3 innerBottom = edge - up * wallFooting, innerTop = edge + up * wallHeight;
        // The cap's edge over the road; without a lip it is the top of the barrier's face.
        const Vec3 capBottom = innerTop - out * lip, capTop = capBottom + up * capThickness();
        const Vec3 outerTop = innerTop + out * wallThickness + up * capThickness();
        // Behind the wall the embankment falls from its top to the ground.
        const double drop = outerTop.y - embankmentFoot;
        const Vec3 foot = outerTop + out * (drop * embankmentRun) - up * drop;
        const double along = lapTexture(station.textureS, wallTile);
        const double topAlong = lapTexture(station.textureS, wallTile / 2);
        const Vec3 slopeNormal = (out + up * embankmentRun).normalized();
        auto add = [&](Face& face, const Vec3& p, const Vec3& q, const Vec3& normal, double pu, double pv, double qu,
                       double qv) {
            face.first.push_back(mesh.addVertex(face.material, {p, normal, pu, pv}));
            face.second.push_back(mesh.addVertex(face.material, {q, normal, qu, qv}));
            face.firstPosition.push_back(p);
            face.secondPosition.push_back(q);
            face.outward.push_back(normal);
        };
        add(inner, innerBottom, innerTop, -out, along, 0, along, 1);
        if (lip > 0) {
            add(under, innerTop, capBottom, -up, topAlong, 0, topAlong, lip / capTextureWidth);
            add(front, capBottom, capTop, -out, topAlong, 0, topAlong, capThickness() / capTextureWidth);
        }
        add(top, capTop, outerTop, up, topAlong, 0, topAlong, (lip + wallThickness) / capTextureWidth);
        add(slope, outerTop, foot, slopeNormal, outerTop.x / grassTile, outerTop.z / grassTile, foot.x / grassTile,
            foot.z / grassTile);
    }
    std::vector<Face*> faces = {&inner, &top, &slope};
    if (lip > 0) faces.insert(faces.end(), {&under, &front});
    for (Face* face : faces) {
        for (size_t k = 0; k + 1 < all.size(); ++k) {
            addStripQuad(mesh, face->material, face->first[k], face->second[k], face->first[k + 1], face->second[k + 1],
                         face->firstPosition[k], face->secondPosition[k], face->firstPosition[k + 1], face->outward[k]);
        }
    }
}

MeshBuilder TrackBuilder::build() const {
    const std::vector<Station> all = stations();
    MeshBuilder mesh;
    addRoad(mesh, all);
    addWall(mesh, all, 1);
    addWall(mesh, all, -1);
    return mesh;
}

std::vector<Vec3> TrackBuilder::checkpoints() const {
    std::vector<Vec3> points;
    for (double s : layout.checkpointStations()) points.push_back(layout.surfacePoint(s, 0));
    return points;
}

double TrackBuilder::reach(double s) const {
    const double higherEdge = std::max(layout.surfacePoint(s, halfWidth).y, layout.surfacePoint(s, -halfWidth).y);
    return halfWidth + wallThickness + (higherEdge + wallHeight + capThickness() - embankmentFoot) * embankmentRun;
}
