#include "CircuitDraft.h"

#include <algorithm>
#include <cmath>

#include "CircuitCheck.h"
#include "PortableMath.h"
#include "TrackBuilder.h"

namespace {

const double pi = 3.14159265358979323846;
const double degree = pi / 180;

// The polygon: its corners lie round the middle at even angles, moved a little each way; some are
// pulled in towards the middle (notches), which makes hairpins and S-bends. The polygon is
// stretched and turned, then scaled to the lap length aimed at. Some long edges then get a detour:
// a squarish loop into the infield or out of it, four corners of about a right angle.
const int fewestCorners = 5;
const int mostCorners = 12;
const double cornerJitter = 0.3;  // share of the even angle step
const double notchShare = 0.35;
const double mostStretch = 1.7;
const double detourShare = 0.5;
const double shortestDetourEdge = 380;
const double shallowestDetour = 110;
const double deepestDetour = 280;
const double narrowestDetour = 0.25;  // share of the edge
const double widestDetour = 0.6;
const double detourSlant = 0.15;  // share of the edge the far side may shift along it
const double shortestAim = 1750;
const double longestAim = 3350;
const double sharpestCornerDegrees = 175;
// Where two corners' arcs share their edge whole, the edge less both tangents is rounding noise of
// either sign, some 1e-13: below this it is no straight. A sliver of a straight would lay two
// cross-sections of the road on one another, and the draft would fail for the noise's sign.
const double shortestStraight = 1e-9;

// Corner radii: tight, medium and sweeping, in these shares.
const double tightShare = 0.35;
const double mediumShare = 0.4;
const double mediumRadius = 90;
const double wideRadius = 170;
const double widestRadius = 320;

// The start line lies on the longest straight: the start straight after it, the grid before it.
const double shortestAfterLine = 140;
const double shortestGrid = 110;
const double longestGrid = 200;

// Chicanes: three arcs of one radius turning a, -2a and a, in line with the straight they break.
const double chicaneShare = 0.3;
const double chicaneLead = 30;  // straight kept before and after a chicane
const double widestChicaneRadius = 100;
const double shallowestChicaneDegrees = 18;
const double sharpestChicaneDegrees = 40;

// Heights: keys along the lap between the start straight and the grid, each a hilltop, a dip or
// the flat; some hilltops are plateaus. Slopes and crests stay inside what the check allows.
const int fewestHeightKeys = 2;
const int mostHeightKeys = 5;
const double flatShare = 0.1;   // circuits without a hill or dip
const double climbsFrom = 130;  // along the start straight
const double gridMargin = 30;   // flat before the grid straight
const double shortestKeyStep = 200;
const double keyJitter = 0.25;  // share of the step between keys
const double hillShare = 0.7;
const double dipShare = 0.15;
const double lowestHill = 5;
const double highestHill = 26;
const double shallowestDip = 0.5;
const double deepestDip = 1.5;
const double plateauShare = 0.3;
const double shortestPlateau = 60;
const double longestPlateau = 150;
const double plateauRoom = 100;  // from a plateau's end to the next key
const double slopeDegrees = 7;
const double crestLift = 6.0;

// Barriers a unit higher than the classic circuit's, with a cap that overhangs the road: a kart a
// shell knocks against one slides up its face until the cap stops it.
const double wallHeight = 3.0;
const double barrierLip = 0.6;

// Banks: curves of this radius or wider are fast; they lean 3 to 9 degrees as they turn more,
// never so far that the low edge comes near the ground.
const double fastCurveRadius = 100;
const double leastBank = 3;
const double mostBank = 9;
const double fullBankTurn = 150;
const double bankRamp = 25;        // as the layout eases banks in and out
const double bankClearance = 0.8;  // low road edge above the ground

// Rows of pick-up fields: the first on the start straight, then on straights and gentle curves
// spread round the lap.
const double firstRow = 110;
const double rowStretch = 40;
const double gentleRadius = 150;
const int mostRows = 4;
const double closestRows = 150;

// Loose objects: one or two together, near a wall of a straight; computer drivers weave about 12
// units to each side and never reach them, the player can.
const int looseSpots = 3;
const int looseTries = 12;
const double looseLateral = 16.5;
const double looseSpacing = 7;
const double looseStraight = 60;
const double looseMargin = 20;      // from a straight's ends
const double looseRowGap = 25;      // from a row of pick-up fields
const double looseBehindGrid = 70;  // the grid's own stretch stays clear

// Ground colours: lush green, dry summer, dark forest, autumn, sand and snow, each lush, dry, dark
// and the light and dark blades.
const Color groundPalettes[][5] = {
    {{0.2, 0.5, 0.13}, {0.42, 0.54, 0.2}, {0.12, 0.34, 0.09}, {0.3, 0.62, 0.2}, {0.1, 0.28, 0.07}},
    {{0.42, 0.5, 0.2}, {0.62, 0.58, 0.3}, {0.3, 0.36, 0.14}, {0.55, 0.6, 0.3}, {0.26, 0.3, 0.1}},
    {{0.1, 0.36, 0.12}, {0.2, 0.42, 0.16}, {0.05, 0.22, 0.07}, {0.18, 0.48, 0.18}, {0.04, 0.18, 0.05}},
    {{0.5, 0.36, 0.14}, {0.62, 0.45, 0.16}, {0.36, 0.2, 0.08}, {0.7, 0.4, 0.12}, {0.3, 0.15, 0.05}},
    {{0.74, 0.66, 0.46}, {0.82, 0.74, 0.52}, {0.6, 0.52, 0.36}, {0.88, 0.8, 0.6}, {0.52, 0.44, 0.3}},
    {{0.85, 0.88, 0.92}, {0.95, 0.96, 0.98}, {0.7, 0.74, 0.8}, {0.98, 0.98, 1.0}, {0.6, 0.65, 0.7}},
};
const double groundTint = 0.05;  // each channel may be this share lighter or darker
const Color kerbColours[] = {{0.86, 0.1, 0.08},  {0.1, 0.25, 0.85}, {0.1, 0.6, 0.2},
                             {0.95, 0.75, 0.05}, {0.1, 0.1, 0.12},  {0.95, 0.45, 0.05}};
const int fewestTrees = 40;
const int mostTrees = 160;
const int fewestRocks = 5;
const int mostRocks = 40;

// Spreads nearby seeds over the whole range (SplitMix64).
uint64_t mix(uint64_t x) {
    x += 0x9E3779B97F4A7C15ull;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ull;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBull;
    return x ^ (x >> 31);
}

double heading(const Vec3& d) { return portable::atan2(d.x, d.z); }

// How far the road may climb or fall between two keys `span` apart.
double largestRise(double span) {
    const double bySlope = portable::tan(slopeDegrees * degree) * 2 * span / pi;
    const double byCrest = crestLift * 2 * span * span / (pi * pi * CircuitCheck::fullSpeed * CircuitCheck::fullSpeed);
    return std::min(bySlope, byCrest);
}

double lapDistance(double a, double b, double lap) {
    const double d = std::fabs(a - b);
    return std::min(d, lap - d);
}

}  // namespace

CircuitDraft::CircuitDraft(int number, int attempt)
    : number(number), random(mix((static_cast<uint64_t>(number) << 16) | static_cast<uint64_t>(attempt))) {}

double CircuitDraft::randomRadius() {
    const double kind = random.uniform();
    if (kind < tightShare) return random.range(CircuitCheck::tightestRadius, mediumRadius);
    if (kind < tightShare + mediumShare) return random.range(mediumRadius, wideRadius);
    return random.range(wideRadius, widestRadius);
}

std::vector<Vec3> CircuitDraft::polygon() {
    const int count = fewestCorners + static_cast<int>(random.next() % (mostCorners - fewestCorners + 1));
    const double stretch = random.range(1, mostStretch), tilt = random.range(0, pi);
    const double cosTilt = portable::cos(tilt), sinTilt = portable::sin(tilt);
    std::vector<Vec3> points;
    for (int j = 0; j < count; ++j) {
        const double angle = 2 * pi * (j + random.range(-cornerJitter, cornerJitter)) / count;
        const double radius = random.uniform() < notchShare ? random.range(0.3, 0.55) : random.range(0.75, 1.0);
        const double x = portable::cos(angle) * radius * stretch, z = portable::sin(angle) * radius;
        points.push_back({x * cosTilt - z * sinTilt, 0, x * sinTilt + z * cosTilt});
    }
    if (random.uniform() < 0.5) std::reverse(points.begin(), points.end());
    auto perimeter = [](const std::vector<Vec3>& loop) {
        double length = 0;
        for (size_t j = 0; j < loop.size(); ++j) length += (loop[(j + 1) % loop.size()] - loop[j]).length();
        return length;
    };
    const double aim = random.range(shortestAim, longestAim), first = aim / perimeter(points);
    for (Vec3& p : points) p = p * first;

    std::vector<Vec3> detoured;
    for (int j = 0; j < count; ++j) {
        const Vec3 a = points[j], b = points[(j + 1) % count];
        detoured.push_back(a);
        const double length = (b - a).length();
        if (length < shortestDetourEdge || random.uniform() >= detourShare) continue;
        const Vec3 along = (b - a) / length;
        // Left of the driving direction; whether that is the infield depends on the way round.
        const Vec3 side(along.z, 0, -along.x);
        const double depth = random.range(shallowestDetour, deepestDetour) * (random.uniform() < 0.5 ? 1 : -1);
        const double from = random.range(0.1, 0.4);
        const double to = std::min(0.9, from + random.range(narrowestDetour, widestDetour));
        const double slant = random.range(-detourSlant, detourSlant);
        detoured.push_back(a + along * (length * from));
        detoured.push_back(a + along * (length * (from + slant)) + side * depth);
        detoured.push_back(a + along * (length * (to + slant)) + side * depth);
        detoured.push_back(a + along * (length * to));
    }
    // The detours lengthen the lap: back to the length aimed at.
    const double scale = aim / perimeter(detoured);
    for (Vec3& p : detoured) p = p * scale;
    return detoured;
}

void CircuitDraft::addStraight(std::vector<TrackPiece>& pieces, double length, bool mayBreak) {
    if (length <= 0) return;
    const double radius = random.range(CircuitCheck::tightestRadius, widestChicaneRadius);
    const double turn =
        random.range(shallowestChicaneDegrees, sharpestChicaneDegrees) * (random.uniform() < 0.5 ? 1 : -1);
    const double chicane = 4 * radius * portable::sin(std::fabs(turn) * degree);
    if (!mayBreak || random.uniform() >= chicaneShare || length < chicane + 2 * chicaneLead) {
        pieces.push_back({length, 0, 0, 0});
        return;
    }
    const double before = random.range(chicaneLead, length - chicane - chicaneLead);
    pieces.push_back({before, 0, 0, 0});
    pieces.push_back({0, radius, turn, 0});
    pieces.push_back({0, radius, -2 * turn, 0});
    pieces.push_back({0, radius, turn, 0});
    pieces.push_back({length - chicane - before, 0, 0, 0});
}

std::optional<std::vector<TrackPiece>> CircuitDraft::pieces(std::vector<Corner>& corners) {
    const int n = static_cast<int>(corners.size());
    std::vector<double> edges(n), tangents(n), straights(n);
    for (int c = 0; c < n; ++c) edges[c] = (corners[(c + 1) % n].point - corners[c].point).length();
    for (int c = 0; c < n; ++c) {
        if (std::fabs(corners[c].turnDegrees) > sharpestCornerDegrees) return std::nullopt;
        corners[c].radius = randomRadius();
    }
    // An arc meets the edges on either side of its corner `tangent` from the corner.
    auto halfTurn = [&](int c) { return portable::tan(std::fabs(corners[c].turnDegrees) * degree / 2); };
    std::vector<double> wanted(n), least(n);
    for (int c = 0; c < n; ++c) {
        wanted[c] = corners[c].radius * halfTurn(c);
        least[c] = CircuitCheck::tightestRadius * halfTurn(c);
        tangents[c] = wanted[c];
    }
    // Where two corners' arcs would overlap on the edge between them, both give up some of what
    // they wanted beyond the tightest radius, in proportion.
    for (int c = 0; c < n; ++c) {
        const int d = (c + 1) % n;
        if (wanted[c] + wanted[d] <= edges[c]) continue;
        if (least[c] + least[d] > edges[c]) return std::nullopt;
        const double share = (edges[c] - least[c] - least[d]) / (wanted[c] - least[c] + wanted[d] - least[d]);
        tangents[c] = std::min(tangents[c], least[c] + (wanted[c] - least[c]) * share);
        tangents[d] = std::min(tangents[d], least[d] + (wanted[d] - least[d]) * share);
    }
    for (int c = 0; c < n; ++c) {
        if (halfTurn(c) > 0) corners[c].radius = tangents[c] / halfTurn(c);
    }
    for (int c = 0; c < n; ++c) {
        const double straight = edges[c] - tangents[c] - tangents[(c + 1) % n];
        straights[c] = straight < shortestStraight ? 0 : straight;
    }
    const int start = static_cast<int>(std::max_element(straights.begin(), straights.end()) - straights.begin());
    if (straights[start] < shortestAfterLine + shortestGrid) return std::nullopt;
    gridStraight = random.range(shortestGrid, std::min(longestGrid, straights[start] - shortestAfterLine));
    startStraight = straights[start] - gridStraight;

    // Edge c runs from corner c to corner c + 1.
    std::vector<TrackPiece> laid = {{startStraight, 0, 0, 0}};
    for (int k = 1; k <= n; ++k) {
        const int c = (start + k) % n;
        laid.push_back({0, corners[c].radius, corners[c].turnDegrees, 0});
        if (k < n) addStraight(laid, straights[c], true);
    }
    laid.push_back({gridStraight, 0, 0, 0});
    return laid;
}

void CircuitDraft::addHeights(TrackLayout& layout) {
    const double lap = layout.length(), base = TrackLayout::baseHeight;
    const double zoneStart = climbsFrom, zoneEnd = lap - gridStraight - gridMargin;
    const int room = static_cast<int>((zoneEnd - zoneStart) / shortestKeyStep) - 1;
    const bool flat = random.uniform() < flatShare;
    const int count =
        flat ? 0
             : std::min(room,
                        fewestHeightKeys + static_cast<int>(random.next() % (mostHeightKeys - fewestHeightKeys + 1)));
    std::vector<TrackLayout::HeightKey> keys = {{0, base}, {zoneStart, base}};
    const double step = (zoneEnd - zoneStart) / (count + 1);
    for (int k = 0; k < count; ++k) {
        const double s = zoneStart + step * (k + 1 + random.range(-keyJitter, keyJitter));
        const double kind = random.uniform();
        double height = base;
        if (kind < hillShare) {
            height = base + random.range(lowestHill, highestHill);
        } else if (kind < hillShare + dipShare) {
            height = base - random.range(shallowestDip, deepestDip);
        }
        keys.push_back({s, height});
        const double plateau = random.range(shortestPlateau, longestPlateau);
        const double nextKey = zoneStart + step * (k + 2 - keyJitter);
        if (random.uniform() < plateauShare && s + plateau + plateauRoom < nextKey)
            keys.push_back({s + plateau, height});
    }
    keys.push_back({zoneEnd, base});
    keys.push_back({lap, base});

    // Each key within reach of the flat at both ends, then each within reach of the one after it.
    const size_t last = keys.size() - 1;
    std::vector<double> fromStart(keys.size(), 0), toEnd(keys.size(), 0);
    for (size_t k = 1; k <= last; ++k) fromStart[k] = fromStart[k - 1] + largestRise(keys[k].s - keys[k - 1].s);
    for (size_t k = last; k-- > 0;) toEnd[k] = toEnd[k + 1] + largestRise(keys[k + 1].s - keys[k].s);
    for (size_t k = 0; k <= last; ++k) {
        const double reach = std::min(fromStart[k], toEnd[k]);
        keys[k].height = std::max(base - reach, std::min(base + reach, keys[k].height));
    }
    for (size_t k = last; k-- > 0;) {
        const double rise = largestRise(keys[k + 1].s - keys[k].s);
        keys[k].height = std::max(keys[k + 1].height - rise, std::min(keys[k + 1].height + rise, keys[k].height));
    }
    layout.setHeights(keys);
}

void CircuitDraft::addBanks(TrackLayout& layout) const {
    for (int i = 0; i < layout.pieceCount(); ++i) {
        const TrackPiece& piece = layout.piece(i);
        if (piece.radius < fastCurveRadius) continue;
        const double turn = std::min(std::fabs(piece.turnDegrees), fullBankTurn);
        double lowest = 1e30;
        for (double s = layout.pieceStart(i) - bankRamp; s <= layout.pieceStart(i) + piece.length + bankRamp; s += 1) {
            lowest = std::min(lowest, layout.frameAt(s).centre.y);
        }
        const double allowed = portable::atan((lowest - bankClearance) / TrackBuilder::halfWidth) / degree;
        const double wanted = leastBank + (mostBank - leastBank) * turn / fullBankTurn;
        layout.setBankDegrees(i, std::max(0.0, std::min(wanted, allowed)));
    }
}

std::vector<double> CircuitDraft::itemRows(const TrackLayout& layout) const {
    std::vector<double> candidates;
    for (int i = 1; i + 1 < layout.pieceCount(); ++i) {
        const TrackPiece& piece = layout.piece(i);
        if (piece.length >= rowStretch && (piece.radius <= 0 || piece.radius >= gentleRadius)) {
            candidates.push_back(layout.pieceMiddle(i));
        }
    }
    // Each further row where it lies furthest from the rows already placed.
    std::vector<double> rows = {firstRow};
    while (static_cast<int>(rows.size()) < mostRows) {
        double best = 0, bestDistance = 0;
        for (double s : candidates) {
            double nearest = 1e30;
            for (double row : rows) nearest = std::min(nearest, lapDistance(s, row, layout.length()));
            if (nearest > bestDistance) {
                best = s;
                bestDistance = nearest;
            }
        }
        if (bestDistance < closestRows) break;
        rows.push_back(best);
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::vector<LooseObject> CircuitDraft::looseObjects(const TrackLayout& layout, const std::vector<double>& rows) {
    struct Stretch {
        double from, to;
    };
    std::vector<Stretch> stretches;
    for (int i = 0; i < layout.pieceCount(); ++i) {
        const TrackPiece& piece = layout.piece(i);
        if (piece.radius > 0 || piece.length < looseStraight) continue;
        const double from = i == 0 ? firstRow + looseRowGap : layout.pieceStart(i) + looseMargin;
        const double end = layout.pieceStart(i) + piece.length;
        const double to =
            (i + 1 == layout.pieceCount() ? layout.length() - looseBehindGrid : end - looseMargin) - looseSpacing;
        if (to > from) stretches.push_back({from, to});
    }
    std::vector<LooseObject> objects;
    for (int tries = 0, spots = 0; tries < looseTries && spots < looseSpots && !stretches.empty(); ++tries) {
        const Stretch& stretch = stretches[random.next() % stretches.size()];
        const double s = random.range(stretch.from, stretch.to);
        const double lateral = random.uniform() < 0.5 ? looseLateral : -looseLateral;
        const int together = 1 + static_cast<int>(random.next() % 2);
        const double lap = layout.length();
        const bool crowded =
            std::any_of(rows.begin(), rows.end(),
                        [&](double row) { return lapDistance(s, row, lap) < looseRowGap + looseSpacing; }) ||
            std::any_of(objects.begin(), objects.end(), [&](const LooseObject& other) {
                return lapDistance(s, other.s, lap) < looseRowGap + looseSpacing;
            });
        if (crowded) continue;
        for (int k = 0; k < together; ++k) objects.push_back({s + k * looseSpacing, lateral, random.uniform() < 0.5});
        ++spots;
    }
    return objects;
}

CircuitLook CircuitDraft::look() {
    const Color* ground = groundPalettes[random.next() % (sizeof groundPalettes / sizeof groundPalettes[0])];
    const Color tint{random.range(1 - groundTint, 1 + groundTint), random.range(1 - groundTint, 1 + groundTint),
                     random.range(1 - groundTint, 1 + groundTint)};
    auto tinted = [&](const Color& c) { return Color{c.r * tint.r, c.g * tint.g, c.b * tint.b}; };
    CircuitLook look;
    look.grassLush = tinted(ground[0]);
    look.grassDry = tinted(ground[1]);
    look.grassDark = tinted(ground[2]);
    look.bladeLight = tinted(ground[3]);
    look.bladeDark = tinted(ground[4]);
    look.kerbStripe = kerbColours[random.next() % (sizeof kerbColours / sizeof kerbColours[0])];
    look.barrierPanel = Color::hue(random.uniform(), random.range(0.6, 0.9)) * random.range(0.7, 0.95);
    look.trees = fewestTrees + static_cast<int>(random.next() % (mostTrees - fewestTrees + 1));
    look.rocks = fewestRocks + static_cast<int>(random.next() % (mostRocks - fewestRocks + 1));
    look.treeShare = random.range(0.6, 0.92);
    look.pineShare = random.range(0.1, 0.9);
    look.scenerySeed = random.next();
    return look;
}

std::optional<Circuit> CircuitDraft::build() {
    const std::vector<Vec3> points = polygon();
    const int n = static_cast<int>(points.size());
    std::vector<Corner> corners(n);
    for (int c = 0; c < n; ++c) {
        const double before = heading(points[c] - points[(c + n - 1) % n]);
        const double after = heading(points[(c + 1) % n] - points[c]);
        corners[c].point = points[c];
        corners[c].turnDegrees = std::remainder(after - before, 2 * pi) / degree;
    }
    const std::optional<std::vector<TrackPiece>> laid = pieces(corners);
    if (!laid) return std::nullopt;
    TrackLayout layout(*laid);
    if (!layout.isClosed()) return std::nullopt;
    addHeights(layout);
    addBanks(layout);
    const std::vector<double> rows = itemRows(layout);
    const std::vector<LooseObject> loose = looseObjects(layout, rows);
    return Circuit{number, layout, rows, loose, look(), wallHeight, barrierLip};
}
