#pragma once

#include <optional>
#include <vector>

#include "Circuit.h"
#include "Random.h"

// Drafts the circuit of a number: a loop round a random star-shaped polygon whose corners are
// rounded into arcs, some straights broken by chicanes, hills and dips eased along the lap, banks
// on the fast curves, pick-up rows and loose objects on the straights, and a look of its own.
class CircuitDraft {
public:
    // `attempt` counts the drafts of this number already turned down; each gives another draft.
    CircuitDraft(int number, int attempt);

    // Empty when this draft cannot be laid out.
    std::optional<Circuit> build();

private:
    struct Corner {
        Vec3 point;
        double turnDegrees = 0;  // heading change from the edge before to the edge after
        double radius = 0;
    };

    std::vector<Vec3> polygon();
    // Rounds the corners and lays the pieces from the start line, which goes on the longest straight.
    std::optional<std::vector<TrackPiece>> pieces(std::vector<Corner>& corners);
    // A chicane breaks a long straight: left, right and left again (or the other way), in line.
    void addStraight(std::vector<TrackPiece>& pieces, double length, bool mayBreak);
    void addHeights(TrackLayout& layout);
    void addBanks(TrackLayout& layout) const;
    std::vector<double> itemRows(const TrackLayout& layout) const;
    std::vector<LooseObject> looseObjects(const TrackLayout& layout, const std::vector<double>& rows);
    CircuitLook look();
    double randomRadius();

    int number;
    Random random;
    double gridStraight = 0;   // length of the straight before the start line
    double startStraight = 0;  // and after it
};
