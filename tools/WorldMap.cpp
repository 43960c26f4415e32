// The demo world's map, generated from a fixed seed: the land from the
// hand-made outline of tools/WorldMapDesign.h roughened by value noise, the
// provinces grown from scattered seeds over a raster of 4 x 4 pixel cells,
// the sea cut into zones the same way, lakes and polar ice, then the ids,
// regions, areas and what the province table says of each province.
//
// Everything is integer or plain IEEE arithmetic in a fixed order, so the
// map is the same on every run and machine.
#include "tools/WorldMap.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <utility>

#include "tools/WorldMapDesign.h"
#include "world/WorldNames.h"

namespace demo {
namespace {

using design::kAfrica;
using design::kAmerica;
using design::kAsia;
using design::kEurope;
using design::kOceania;

constexpr int32_t kCols = WorldMap::kColumns;
constexpr int32_t kRowsN = WorldMap::kRows;
constexpr int32_t kCell = WorldMap::kCellSize;
constexpr size_t kCells = static_cast<size_t>(kCols) * kRowsN;
constexpr uint32_t kSeed = 0x0a5d1c3u;

// A small deterministic generator (xorshift with a multiplier).
struct Rng {
    uint64_t state;
    explicit Rng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next() {
        state ^= state >> 12;
        state ^= state << 25;
        state ^= state >> 27;
        return static_cast<uint32_t>((state * 0x2545F4914F6CDD1Dull) >> 32);
    }
    uint32_t Below(uint32_t n) { return n == 0 ? 0 : Next() % n; }
};

uint32_t Hash(uint32_t a, uint32_t b, uint32_t c) {
    uint32_t h = a * 0x8da6b343u ^ b * 0xd8163841u ^ c * 0xcb1ab31fu ^ kSeed;
    h ^= h >> 15;
    h *= 0x2c1b3c6du;
    h ^= h >> 12;
    h *= 0x297a2d39u;
    h ^= h >> 15;
    return h;
}

// Value noise in -1..1 over map pixels, wrapping east-west; `period` is the
// lattice spacing in pixels and must divide the map width.
double Noise(int32_t x, int32_t y, int32_t period, uint32_t salt) {
    const int32_t columns = kMapWidth / period;
    const int32_t ix = x / period;
    const int32_t iy = y / period;
    const double fx = static_cast<double>(x - ix * period) / period;
    const double fy = static_cast<double>(y - iy * period) / period;
    auto corner = [&](int32_t cx, int32_t cy) {
        const uint32_t h =
            Hash(static_cast<uint32_t>(cx % columns), static_cast<uint32_t>(cy), salt);
        return static_cast<double>(h & 0xffff) / 32767.5 - 1.0;
    };
    const double sx = fx * fx * (3 - 2 * fx);
    const double sy = fy * fy * (3 - 2 * fy);
    const double top = corner(ix, iy) + (corner(ix + 1, iy) - corner(ix, iy)) * sx;
    const double bottom = corner(ix, iy + 1) + (corner(ix + 1, iy + 1) - corner(ix, iy + 1)) * sx;
    return top + (bottom - top) * sy;
}

double Fractal(int32_t x, int32_t y, std::initializer_list<int32_t> periods, uint32_t salt) {
    double sum = 0;
    double amplitude = 1;
    double total = 0;
    uint32_t octave = 0;
    for (int32_t period : periods) {
        sum += Noise(x, y, period, salt * 16 + octave++) * amplitude;
        total += amplitude;
        amplitude *= 0.5;
    }
    return sum / total;
}

// x difference the short way round the wrapping map.
int32_t WrapDx(int32_t dx) {
    dx %= kMapWidth;
    if (dx > kMapWidth / 2)
        dx -= kMapWidth;
    if (dx < -kMapWidth / 2)
        dx += kMapWidth;
    return dx;
}

// 1 at an ellipse's centre, 0 on its edge, negative outside.
double EllipseValue(int32_t x, int32_t y, int32_t cx, int32_t cy, int32_t rx, int32_t ry) {
    const double dx = static_cast<double>(WrapDx(x - cx)) / rx;
    const double dy = static_cast<double>(y - cy) / ry;
    return 1.0 - (dx * dx + dy * dy);
}

int64_t Distance2(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    const int64_t dx = WrapDx(x1 - x2);
    const int64_t dy = y1 - y2;
    return dx * dx + dy * dy;
}

size_t At(int32_t column, int32_t row) {
    return static_cast<size_t>(row) * kCols + static_cast<size_t>(column);
}
int32_t CentreX(size_t cell) {
    return static_cast<int32_t>(cell % kCols) * kCell + kCell / 2;
}
int32_t CentreY(size_t cell) {
    return static_cast<int32_t>(cell / kCols) * kCell + kCell / 2;
}

// The four cells beside a cell (east-west wrapping unless `seam` is false).
template <typename F> void ForNeighbours(size_t cell, bool seam, F&& f) {
    const int32_t column = static_cast<int32_t>(cell % kCols);
    const int32_t row = static_cast<int32_t>(cell / kCols);
    if (column > 0)
        f(cell - 1);
    else if (seam)
        f(cell + kCols - 1);
    if (column < kCols - 1)
        f(cell + 1);
    else if (seam)
        f(cell - (kCols - 1));
    if (row > 0)
        f(cell - kCols);
    if (row < kRowsN - 1)
        f(cell + kCols);
}

enum Surface : uint8_t { kWater = 0, kGround = 1, kLakeWater = 2, kIce = 3 };

int32_t ContinentIdCount(int32_t continent) {
    int32_t count = 0;
    for (const design::IdRange& range : design::kLandIds)
        if (range.continent == continent)
            count += range.last - range.first + 1;
    return count;
}

int32_t RegionIndex(const char* name) {
    for (int32_t i = 0; i < kRegionCount; ++i)
        if (std::string(g_regionNames[static_cast<size_t>(i)]) == name)
            return i;
    std::fprintf(stderr, "make_demo_world: unknown region %s\n", name);
    std::abort();
}

int32_t AreaIndex(const char* name) {
    for (int32_t i = 0; i < kAreaCount; ++i)
        if (std::string(g_areaNames[static_cast<size_t>(i)]) == name)
            return i;
    std::fprintf(stderr, "make_demo_world: unknown area %s\n", name);
    std::abort();
}

// The provinces' kinds before they have ids.
constexpr int32_t kExtraLinked[6] = {0, 1, 0, 2, 0, 1}; // by continent: kind-6 provinces
constexpr int32_t kIceProvinces = 6;
constexpr int32_t kMaxLakes = 6;

struct Draft {
    ProvinceKind kind = ProvinceKind::kNone;
    int32_t continent = 0;
    int32_t seedCell = 0;
    int32_t island = -1; // index into kIslands, or -1
    int32_t region = 0;
    int32_t area = 0;
    int32_t id = 0;
    int64_t sumX = 0, sumY = 0, count = 0, sumHeight = 0;
    int32_t minColumn = kCols, maxColumn = -1, minRow = kRowsN, maxRow = -1;
    int32_t insideCell = -1;
    int32_t insideDistance = -1;
    std::set<int32_t> touching;
};

} // namespace

class WorldMapBuilder {
public:
    explicit WorldMapBuilder(WorldMap& map) : map_(map) {}

    void Build() {
        Step("shape", &WorldMapBuilder::Shape);
        Step("clean", &WorldMapBuilder::Clean);
        Step("grow", &WorldMapBuilder::GrowProvinces);
        Step("summarise", &WorldMapBuilder::Summarise);
        Step("linked", &WorldMapBuilder::MarkLinked);
        Step("straits", &WorldMapBuilder::ChooseStraits);
        Step("regions", &WorldMapBuilder::NameRegions);
        Step("ids", &WorldMapBuilder::AssignIds);
        Step("describe", &WorldMapBuilder::Describe);
    }

    // Runs one step; ORV_MAP_TIMES=1 reports how long each took.
    void Step(const char* name, void (WorldMapBuilder::*step)()) {
        const auto start = std::chrono::steady_clock::now();
        (this->*step)();
        if (std::getenv("ORV_MAP_TIMES"))
            std::fprintf(
                stderr, "map %s: %.3f s\n", name,
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }

private:
    struct Crossing {
        int32_t a, b;     // drafts, a < b
        int64_t distance; // squared pixels
        size_t cellA, cellB;
    };

    WorldMap& map_;
    std::vector<uint8_t> surface_;
    std::vector<uint8_t> landContinent_; // continent of each land cell
    std::vector<int32_t> label_;         // draft province of each cell
    std::vector<Draft> drafts_;
    std::vector<uint16_t> seaDistance_; // cells from the nearest land (water cells)
    std::vector<std::pair<int32_t, int32_t>> straitDrafts_; // in the game's fixed order
    std::vector<Crossing> crossings_;

    // --- the land --------------------------------------------------------

    void Shape() {
        surface_.assign(kCells, kWater);
        landContinent_.assign(kCells, 0);
        map_.heights_.assign(kCells, 0);
        // The outline on a coarse grid of 16-pixel squares, then each cell
        // from the four around it plus finer noise.
        constexpr int32_t kStep = 16;
        constexpr int32_t kCoarseColumns = kMapWidth / kStep;
        constexpr int32_t kCoarseRows = kMapHeight / kStep + 1;
        std::vector<float> coarse(static_cast<size_t>(kCoarseColumns) * kCoarseRows);
        std::vector<uint8_t> coarseContinent(coarse.size());
        std::vector<uint8_t> coarseForced(coarse.size()); // 1 land, 2 water
        std::vector<float> coarseRidge(coarse.size());
        for (int32_t row = 0; row < kCoarseRows; ++row)
            for (int32_t column = 0; column < kCoarseColumns; ++column) {
                const int32_t x = column * kStep;
                const int32_t y = std::min(row * kStep, kMapHeight - 1);
                double best = -10;
                int32_t continent = 0;
                double sea = -10;
                // The outline is looked up at a point pushed about by noise,
                // so that the coasts bend.
                const int32_t wx =
                    x + static_cast<int32_t>(Fractal(x, y, {1184, 592, 296}, 5) * 420);
                const int32_t wy =
                    y + static_cast<int32_t>(Fractal(x, y, {1184, 592, 296}, 6) * 300);
                for (const design::Blob& blob : design::kBlobs) {
                    const double v = EllipseValue(wx, wy, blob.x, blob.y, blob.rx, blob.ry);
                    if (blob.continent == 0) {
                        sea = std::max(sea, v);
                    } else if (v > best) {
                        best = v;
                        continent = blob.continent;
                    }
                }
                double score =
                    std::max(best, -1.0) * 0.9 + Fractal(x, y, {592, 296, 148, 74}, 1) * 0.5 - 0.1;
                // The hearts of the outline stay land wherever the noise
                // pushes the coasts, so that each continent holds together.
                uint8_t forced = 0;
                for (const design::Blob& blob : design::kBlobs)
                    if (blob.continent != 0 &&
                        EllipseValue(x, y, blob.x, blob.y, blob.rx, blob.ry) > 0.45) {
                        forced = 1;
                        if (best <= 0)
                            continent = blob.continent;
                    }
                if (sea > 0) {
                    score -= sea * 1.4;
                    if (sea > 0.25)
                        forced = 2;
                }
                for (const design::Island& island : design::kIslands) {
                    const double inner =
                        EllipseValue(x, y, island.x, island.y, island.rx, island.ry);
                    const double outer = EllipseValue(
                        x, y, island.x, island.y, island.rx + island.ring, island.ry + island.ring);
                    if (inner > 0.2) {
                        forced = 1;
                        continent = island.continent;
                        score = std::max(score, 0.3);
                    } else if (inner > 0) {
                        continent = island.continent;
                    } else if (outer > 0) {
                        forced = 2;
                    }
                }
                const size_t index = static_cast<size_t>(row) * kCoarseColumns + column;
                coarse[index] = static_cast<float>(score);
                coarseContinent[index] = static_cast<uint8_t>(continent);
                coarseForced[index] = forced;
                // Ridges of the mountains: where a noise crosses zero.
                const double ridge = 1.0 - std::fabs(Fractal(x, y, {592, 296, 148, 74}, 4));
                coarseRidge[index] = static_cast<float>(ridge * ridge);
            }
        // The edge of the southern ice, by column.
        std::vector<int32_t> iceEdges(kCols);
        for (int32_t column = 0; column < kCols; ++column)
            iceEdges[static_cast<size_t>(column)] =
                7010 + static_cast<int32_t>(Fractal(column * kCell, 7000, {296, 74}, 3) * 90);
        for (int32_t row = 0; row < kRowsN; ++row)
            for (int32_t column = 0; column < kCols; ++column) {
                const int32_t x = column * kCell + kCell / 2;
                const int32_t y = row * kCell + kCell / 2;
                const int32_t cx = x / kStep;
                const int32_t cy = y / kStep;
                const double fx = static_cast<double>(x - cx * kStep) / kStep;
                const double fy = static_cast<double>(y - cy * kStep) / kStep;
                auto value = [&](int32_t c, int32_t r) {
                    return static_cast<double>(
                        coarse[static_cast<size_t>(r) * kCoarseColumns + (c % kCoarseColumns)]);
                };
                const double top = value(cx, cy) + (value(cx + 1, cy) - value(cx, cy)) * fx;
                const double bottom =
                    value(cx, cy + 1) + (value(cx + 1, cy + 1) - value(cx, cy + 1)) * fx;
                const double fine = Noise(x, y, 74, 2);
                const double score = top + (bottom - top) * fy + fine * 0.06;
                const size_t nearest =
                    static_cast<size_t>(cy + (fy >= 0.5 ? 1 : 0)) * kCoarseColumns +
                    static_cast<size_t>((cx + (fx >= 0.5 ? 1 : 0)) % kCoarseColumns);
                const uint8_t forced = coarseForced[nearest];
                const bool land = forced == 1 || (forced == 0 && score > 0);
                const size_t cell = At(column, row);
                if (y >= iceEdges[static_cast<size_t>(column)]) {
                    surface_[cell] = kIce;
                    continue;
                }
                if (!land || y < 200)
                    continue;
                surface_[cell] = kGround;
                landContinent_[cell] = coarseContinent[nearest];
                // Height: the land's distance above the coast line plus
                // ridges of noise.
                const double h = std::max(0.0, score) * 160 +
                                 static_cast<double>(coarseRidge[nearest]) * 120 - 20;
                map_.heights_[cell] = static_cast<uint8_t>(std::clamp(h, 1.0, 255.0));
            }
    }

    // Components of cells of one surface kind (4-neighbour, wrapping).
    std::vector<int32_t> Components(uint8_t kind, std::vector<int64_t>& sizes) const {
        std::vector<int32_t> component(kCells, -1);
        std::vector<size_t> stack;
        for (size_t start = 0; start < kCells; ++start) {
            if (surface_[start] != kind || component[start] >= 0)
                continue;
            const int32_t number = static_cast<int32_t>(sizes.size());
            sizes.push_back(0);
            component[start] = number;
            stack.push_back(start);
            while (!stack.empty()) {
                const size_t cell = stack.back();
                stack.pop_back();
                ++sizes.back();
                ForNeighbours(cell, true, [&](size_t next) {
                    if (surface_[next] == kind && component[next] < 0) {
                        component[next] = number;
                        stack.push_back(next);
                    }
                });
            }
        }
        return component;
    }

    std::vector<int8_t> islandOf_;

    int32_t IslandAt(size_t cell) const { return islandOf_[cell]; }

    int32_t IslandAtPoint(size_t cell) const {
        for (size_t i = 0; i < design::kIslands.size(); ++i) {
            const design::Island& island = design::kIslands[i];
            if (EllipseValue(CentreX(cell), CentreY(cell), island.x, island.y, island.rx,
                             island.ry) > 0)
                return static_cast<int32_t>(i);
        }
        return -1;
    }

    // Only the continents' land masses and the designed islands stay land
    // (every land province must be reachable over land or a strait); small
    // enclosed waters become land, the larger ones lakes.
    void Clean() {
        islandOf_.resize(kCells);
        for (size_t cell = 0; cell < kCells; ++cell)
            islandOf_[cell] = static_cast<int8_t>(IslandAtPoint(cell));
        std::vector<int64_t> landSizes;
        const std::vector<int32_t> land = Components(kGround, landSizes);
        // Land masses that hold none of the continents' hearts are dropped.
        std::vector<uint8_t> keep(landSizes.size(), 0);
        for (const design::Blob& blob : design::kBlobs) {
            const size_t cell = At(blob.x / kCell, blob.y / kCell);
            if (blob.continent != 0 && land[cell] >= 0)
                keep[static_cast<size_t>(land[cell])] = 1;
        }
        for (const design::Island& island : design::kIslands) {
            const size_t cell = At(island.x / kCell, island.y / kCell);
            if (land[cell] >= 0)
                keep[static_cast<size_t>(land[cell])] = 1;
        }
        for (size_t cell = 0; cell < kCells; ++cell)
            if (land[cell] >= 0 && !keep[static_cast<size_t>(land[cell])]) {
                surface_[cell] = kWater;
                map_.heights_[cell] = 0;
            }
        Bridge(land);
        std::vector<int64_t> waterSizes;
        const std::vector<int32_t> water = Components(kWater, waterSizes);
        const size_t ocean = static_cast<size_t>(
            std::max_element(waterSizes.begin(), waterSizes.end()) - waterSizes.begin());
        // The largest enclosed waters become lakes.
        std::vector<size_t> enclosed;
        for (size_t i = 0; i < waterSizes.size(); ++i)
            if (i != ocean && waterSizes[i] >= 900)
                enclosed.push_back(i);
        std::stable_sort(enclosed.begin(), enclosed.end(),
                         [&](size_t a, size_t b) { return waterSizes[a] > waterSizes[b]; });
        if (enclosed.size() > static_cast<size_t>(kMaxLakes))
            enclosed.resize(kMaxLakes);
        std::vector<uint8_t> lake(waterSizes.size(), 0);
        for (size_t i : enclosed)
            lake[i] = 1;
        for (size_t cell = 0; cell < kCells; ++cell) {
            if (water[cell] < 0 || static_cast<size_t>(water[cell]) == ocean)
                continue;
            if (lake[static_cast<size_t>(water[cell])]) {
                surface_[cell] = kLakeWater;
            } else {
                surface_[cell] = kGround;
                map_.heights_[cell] = 1;
            }
        }
        // Land cells without a continent (filled waters) take a neighbour's.
        {
            std::vector<uint32_t> frontier;
            frontier.reserve(kCells);
            for (size_t cell = 0; cell < kCells; ++cell)
                if (surface_[cell] == kGround && landContinent_[cell] != 0)
                    frontier.push_back(static_cast<uint32_t>(cell));
            for (size_t head = 0; head < frontier.size(); ++head) {
                const size_t cell = frontier[head];
                ForNeighbours(cell, true, [&](size_t next) {
                    if (surface_[next] == kGround && landContinent_[next] == 0) {
                        landContinent_[next] = landContinent_[cell];
                        frontier.push_back(static_cast<uint32_t>(next));
                    }
                });
            }
        }
        // The distance of every water cell from the land, in cells.
        seaDistance_.assign(kCells, 0xffff);
        std::vector<uint32_t> frontier;
        frontier.reserve(kCells);
        for (size_t cell = 0; cell < kCells; ++cell)
            if (surface_[cell] == kGround) {
                seaDistance_[cell] = 0;
                frontier.push_back(static_cast<uint32_t>(cell));
            }
        for (size_t head = 0; head < frontier.size(); ++head) {
            const size_t cell = frontier[head];
            ForNeighbours(cell, true, [&](size_t next) {
                if (seaDistance_[next] == 0xffff) {
                    seaDistance_[next] = static_cast<uint16_t>(seaDistance_[cell] + 1);
                    frontier.push_back(static_cast<uint32_t>(next));
                }
            });
        }
    }

    // Every heart of a continent's outline lies on one land mass with the
    // continent's first heart: where the noise cut one off, a land bridge
    // is laid along the shortest way over the water to that mass.
    void Bridge(const std::vector<int32_t>& land) {
        for (int32_t continent = 1; continent <= 5; ++continent) {
            int32_t main = -1;
            std::vector<int32_t> joined;
            for (const design::Blob& blob : design::kBlobs) {
                if (blob.continent != continent)
                    continue;
                const int32_t component = land[At(blob.x / kCell, blob.y / kCell)];
                if (component < 0)
                    continue;
                if (main < 0) {
                    main = component;
                    joined.push_back(main);
                    continue;
                }
                if (std::find(joined.begin(), joined.end(), component) != joined.end())
                    continue;
                joined.push_back(component);
                // Search outward from the cut-off mass until a cell of the
                // main mass is met, then walk back and lay the bridge.
                std::vector<int32_t> from(kCells, -1);
                std::vector<uint32_t> frontier;
                for (size_t cell = 0; cell < kCells; ++cell)
                    if (land[cell] == component) {
                        from[cell] = static_cast<int32_t>(cell);
                        frontier.push_back(static_cast<uint32_t>(cell));
                    }
                size_t reached = kCells;
                for (size_t head = 0; head < frontier.size() && reached == kCells; ++head) {
                    const size_t cell = frontier[head];
                    ForNeighbours(cell, true, [&](size_t next) {
                        if (reached != kCells || from[next] >= 0)
                            return;
                        from[next] = static_cast<int32_t>(cell);
                        if (land[next] == main && surface_[next] == kGround)
                            reached = next;
                        else
                            frontier.push_back(static_cast<uint32_t>(next));
                    });
                }
                for (size_t cell = reached; cell != kCells && land[cell] != component;
                     cell = static_cast<size_t>(from[cell])) {
                    const int32_t column = static_cast<int32_t>(cell % kCols);
                    const int32_t row = static_cast<int32_t>(cell / kCols);
                    for (int32_t dy = -12; dy <= 12; ++dy)
                        for (int32_t dx = -12; dx <= 12; ++dx) {
                            const int32_t r = row + dy;
                            if (r < 0 || r >= kRowsN)
                                continue;
                            const size_t wide = At((column + dx + kCols) % kCols, r);
                            if (surface_[wide] == kGround || islandOf_[wide] >= 0 || IsRing(wide))
                                continue;
                            surface_[wide] = kGround;
                            landContinent_[wide] = static_cast<uint8_t>(continent);
                            map_.heights_[wide] = 8;
                        }
                }
            }
        }
    }

    // A cell of the channel around a designed island.
    bool IsRing(size_t cell) const {
        for (const design::Island& island : design::kIslands)
            if (EllipseValue(CentreX(cell), CentreY(cell), island.x, island.y,
                             island.rx + island.ring, island.ry + island.ring) > 0)
                return true;
        return false;
    }

    // --- the provinces ---------------------------------------------------

    // Seeds spread over the given cells by best-candidate sampling: of a
    // few random cells the one farthest from every seed so far.
    void Scatter(const std::vector<size_t>& cells, int32_t count, Rng& rng,
                 std::vector<size_t>& seeds, std::vector<size_t>& placed) {
        if (cells.empty())
            return;
        for (int32_t n = 0; n < count; ++n) {
            size_t best = cells[rng.Below(static_cast<uint32_t>(cells.size()))];
            int64_t bestDistance = -1;
            for (int32_t k = 0; k < 14; ++k) {
                const size_t candidate = cells[rng.Below(static_cast<uint32_t>(cells.size()))];
                int64_t nearest = INT64_MAX;
                for (size_t other : placed)
                    nearest = std::min(nearest, Distance2(CentreX(candidate), CentreY(candidate),
                                                          CentreX(other), CentreY(other)));
                if (nearest > bestDistance) {
                    bestDistance = nearest;
                    best = candidate;
                }
            }
            seeds.push_back(best);
            placed.push_back(best);
        }
    }

    // Grows every draft from its seed cell over the cells of its own kind
    // (`kindOf` of the cell equals `draftKind` of the draft), the cheapest
    // first; the cost of a step varies with noise so that borders wander.
    // Cells no draft reached are left at -1.
    void Grow(const std::vector<int32_t>& seedDrafts, const std::vector<uint8_t>& kindOf,
              const std::vector<uint8_t>& draftKind) {
        std::vector<uint16_t> cost(kCells, 0xffff);
        std::vector<std::vector<uint32_t>> buckets(8);
        std::vector<uint32_t> current;
        size_t pending = 0;
        for (int32_t d : seedDrafts) {
            const size_t cell = static_cast<size_t>(drafts_[static_cast<size_t>(d)].seedCell);
            label_[cell] = d;
            cost[cell] = 0;
            buckets[0].push_back(static_cast<uint32_t>(cell));
            ++pending;
        }
        for (size_t level = 0; pending > 0; ++level) {
            std::vector<uint32_t>& bucket = buckets[level % buckets.size()];
            current.clear();
            current.swap(bucket);
            pending -= current.size();
            for (uint32_t c : current) {
                const size_t cell = c;
                if (cost[cell] != level)
                    continue;
                const int32_t owner = label_[cell];
                const uint8_t kind = draftKind[static_cast<size_t>(owner)];
                ForNeighbours(cell, false, [&](size_t next) {
                    if (kindOf[next] != kind)
                        return;
                    const size_t reach = level + stepCost_[next];
                    if (reach >= cost[next] || reach >= 0xffff)
                        return;
                    cost[next] = static_cast<uint16_t>(reach);
                    label_[next] = owner;
                    buckets[reach % buckets.size()].push_back(static_cast<uint32_t>(next));
                    ++pending;
                });
            }
        }
    }

    std::vector<uint8_t> stepCost_; // 1..4 per cell

    // Cells still without a draft join a neighbour's of the same surface.
    void FillGaps(bool seam) {
        std::vector<uint32_t> frontier;
        for (size_t cell = 0; cell < kCells; ++cell) {
            if (label_[cell] >= 0)
                continue;
            ForNeighbours(cell, seam, [&](size_t next) {
                if (label_[cell] < 0 && label_[next] >= 0 && surface_[cell] == surface_[next]) {
                    label_[cell] = label_[next];
                    frontier.push_back(static_cast<uint32_t>(cell));
                }
            });
        }
        for (size_t head = 0; head < frontier.size(); ++head) {
            const size_t cell = frontier[head];
            ForNeighbours(cell, seam, [&](size_t next) {
                if (label_[next] < 0 && surface_[cell] == surface_[next]) {
                    label_[next] = label_[cell];
                    frontier.push_back(static_cast<uint32_t>(next));
                }
            });
        }
    }

    int32_t NewDraft(ProvinceKind kind, int32_t continent, size_t seedCell) {
        Draft draft;
        draft.kind = kind;
        draft.continent = continent;
        draft.seedCell = static_cast<int32_t>(seedCell);
        drafts_.push_back(draft);
        return static_cast<int32_t>(drafts_.size() - 1);
    }

    void GrowProvinces() {
        label_.assign(kCells, -1);
        Rng rng(kSeed);
        // Land: each continent's id count (and its kind-6 provinces), each
        // designed island seeded at its centre first.
        std::vector<int32_t> landSeeds;
        std::vector<size_t> placed;
        std::array<std::vector<size_t>, 6> cellsOf;
        for (auto& list : cellsOf)
            list.reserve(kCells / 8);
        for (size_t cell = 0; cell < kCells; ++cell)
            if (surface_[cell] == kGround) {
                cellsOf[landContinent_[cell]].push_back(cell);
            }
        for (int32_t continent = 1; continent <= 5; ++continent) {
            const std::vector<size_t>& cells = cellsOf[static_cast<size_t>(continent)];
            int32_t count = ContinentIdCount(continent) + kExtraLinked[continent];
            std::vector<size_t> seeds;
            for (size_t i = 0; i < design::kIslands.size(); ++i) {
                const design::Island& island = design::kIslands[i];
                if (island.continent != continent)
                    continue;
                // Seeds in proportion to the island's share of the land.
                std::vector<size_t> islandCells;
                for (size_t cell : cells)
                    if (IslandAt(cell) == static_cast<int32_t>(i))
                        islandCells.push_back(cell);
                const int32_t share = std::max<int32_t>(
                    1, static_cast<int32_t>(static_cast<int64_t>(islandCells.size()) * count /
                                            static_cast<int64_t>(cells.size())));
                std::vector<size_t> islandSeeds;
                islandSeeds.push_back(At(island.x / kCell, island.y / kCell));
                placed.push_back(islandSeeds.back());
                Scatter(islandCells, share - 1, rng, islandSeeds, placed);
                for (size_t seed : islandSeeds) {
                    const int32_t d = NewDraft(ProvinceKind::kLand, continent, seed);
                    drafts_[static_cast<size_t>(d)].island = static_cast<int32_t>(i);
                    landSeeds.push_back(d);
                }
                count -= static_cast<int32_t>(islandSeeds.size());
            }
            std::vector<size_t> mainland;
            for (size_t cell : cells)
                if (IslandAt(cell) < 0)
                    mainland.push_back(cell);
            Scatter(mainland, count, rng, seeds, placed);
            for (size_t seed : seeds)
                landSeeds.push_back(NewDraft(ProvinceKind::kLand, continent, seed));
        }
        // Kinds of cell: land by continent and whether on an island; 0
        // for everything else.
        stepCost_.resize(kCells);
        for (size_t cell = 0; cell < kCells; ++cell)
            stepCost_[cell] =
                static_cast<uint8_t>(1 + (Hash(static_cast<uint32_t>(cell), 7, 7) & 3));
        std::vector<uint8_t> kindOf(kCells, 0);
        for (size_t cell = 0; cell < kCells; ++cell)
            if (surface_[cell] == kGround)
                kindOf[cell] =
                    static_cast<uint8_t>(1 + landContinent_[cell] * 2 + (IslandAt(cell) >= 0));
        std::vector<uint8_t> draftKind;
        for (const Draft& draft : drafts_)
            draftKind.push_back(
                static_cast<uint8_t>(1 + draft.continent * 2 + (draft.island >= 0)));
        Grow(landSeeds, kindOf, draftKind);
        FillGaps(false);
        // Lakes: one province each.
        std::vector<int64_t> lakeSizes;
        const std::vector<int32_t> lakes = Components(kLakeWater, lakeSizes);
        std::vector<int32_t> lakeDraft(lakeSizes.size(), -1);
        for (size_t cell = 0; cell < kCells; ++cell)
            if (lakes[cell] >= 0) {
                int32_t& d = lakeDraft[static_cast<size_t>(lakes[cell])];
                if (d < 0)
                    d = NewDraft(ProvinceKind::kLake, 0, cell);
                label_[cell] = d;
            }
        // Ice: six bands of the southern cap.
        for (int32_t band = 0; band < kIceProvinces; ++band) {
            const int32_t first = band * kCols / kIceProvinces;
            const int32_t last = (band + 1) * kCols / kIceProvinces;
            const int32_t d =
                NewDraft(ProvinceKind::kWasteland, 0, At((first + last) / 2, kRowsN - 1));
            for (int32_t row = 0; row < kRowsN; ++row)
                for (int32_t column = first; column < last; ++column)
                    if (surface_[At(column, row)] == kIce)
                        label_[At(column, row)] = d;
        }
        // Sea zones: smaller near the coasts, larger in the open ocean.
        const int32_t landDrafts = static_cast<int32_t>(landSeeds.size());
        const int32_t seaCount =
            kLastProvince - (landDrafts) - static_cast<int32_t>(lakeSizes.size()) - kIceProvinces;
        std::vector<size_t> coastal;
        std::vector<size_t> open;
        for (size_t cell = 0; cell < kCells; ++cell)
            if (surface_[cell] == kWater)
                (seaDistance_[cell] <= 110 ? coastal : open).push_back(cell);
        std::vector<size_t> seaSeeds;
        std::vector<size_t> seaPlaced;
        const int32_t coastalCount = seaCount * 7 / 10;
        Scatter(coastal, coastalCount, rng, seaSeeds, seaPlaced);
        Scatter(open, seaCount - coastalCount, rng, seaSeeds, seaPlaced);
        std::vector<int32_t> seaDrafts;
        for (size_t seed : seaSeeds)
            seaDrafts.push_back(NewDraft(ProvinceKind::kSea, 0, seed));
        for (size_t cell = 0; cell < kCells; ++cell)
            kindOf[cell] = surface_[cell] == kWater ? 1 : 0;
        draftKind.assign(drafts_.size(), 1);
        Grow(seaDrafts, kindOf, draftKind);
        FillGaps(false);
        FillGaps(true);
    }

    static uint64_t PairKey(int32_t a, int32_t b) {
        if (a > b)
            std::swap(a, b);
        return static_cast<uint64_t>(a) << 32 | static_cast<uint32_t>(b);
    }

    void Summarise() {
        std::vector<uint64_t> pairs;
        for (Draft& draft : drafts_) {
            draft.touching.clear();
            draft.count = draft.sumX = draft.sumY = draft.sumHeight = 0;
        }
        for (size_t cell = 0; cell < kCells; ++cell) {
            const int32_t d = label_[cell];
            if (d < 0) {
                std::fprintf(stderr, "make_demo_world: a map cell belongs to no province\n");
                std::abort();
            }
            Draft& draft = drafts_[static_cast<size_t>(d)];
            const int32_t column = static_cast<int32_t>(cell % kCols);
            const int32_t row = static_cast<int32_t>(cell / kCols);
            ++draft.count;
            draft.sumX += column;
            draft.sumY += row;
            draft.sumHeight += map_.heights_[cell];
            draft.minColumn = std::min(draft.minColumn, column);
            draft.maxColumn = std::max(draft.maxColumn, column);
            draft.minRow = std::min(draft.minRow, row);
            draft.maxRow = std::max(draft.maxRow, row);
            const size_t east = column == kCols - 1 ? cell - (kCols - 1) : cell + 1;
            if (label_[east] != d)
                pairs.push_back(PairKey(d, label_[east]));
            if (row < kRowsN - 1 && label_[cell + kCols] != d)
                pairs.push_back(PairKey(d, label_[cell + kCols]));
        }
        std::sort(pairs.begin(), pairs.end());
        pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
        for (uint64_t key : pairs) {
            const int32_t a = static_cast<int32_t>(key >> 32);
            const int32_t b = static_cast<int32_t>(key & 0xffffffffu);
            drafts_[static_cast<size_t>(a)].touching.insert(b);
            drafts_[static_cast<size_t>(b)].touching.insert(a);
        }
        // The inside point of each draft: its cell farthest from its border.
        std::vector<uint16_t> depth(kCells, 0xffff);
        std::vector<uint32_t> frontier;
        frontier.reserve(kCells);
        for (size_t cell = 0; cell < kCells; ++cell) {
            bool edge = false;
            ForNeighbours(cell, true,
                          [&](size_t next) { edge = edge || label_[next] != label_[cell]; });
            const int32_t row = static_cast<int32_t>(cell / kCols);
            if (edge || row == 0 || row == kRowsN - 1) {
                depth[cell] = 0;
                frontier.push_back(static_cast<uint32_t>(cell));
            }
        }
        for (size_t head = 0; head < frontier.size(); ++head) {
            const size_t cell = frontier[head];
            ForNeighbours(cell, true, [&](size_t next) {
                if (depth[next] == 0xffff && label_[next] == label_[cell]) {
                    depth[next] = static_cast<uint16_t>(depth[cell] + 1);
                    frontier.push_back(static_cast<uint32_t>(next));
                }
            });
        }
        for (size_t cell = 0; cell < kCells; ++cell) {
            Draft& draft = drafts_[static_cast<size_t>(label_[cell])];
            if (depth[cell] != 0xffff && depth[cell] > draft.insideDistance) {
                draft.insideDistance = depth[cell];
                draft.insideCell = static_cast<int32_t>(cell);
            }
        }
        depth_ = std::move(depth);
    }

    std::vector<uint16_t> depth_; // cells from the province's border

    // A few interior provinces become the linked kind (6), discovered
    // together with their neighbours.
    void MarkLinked() {
        for (int32_t continent = 1; continent <= 5; ++continent) {
            for (int32_t n = 0; n < kExtraLinked[continent]; ++n) {
                int32_t best = -1;
                int64_t bestScore = -1;
                for (size_t d = 0; d < drafts_.size(); ++d) {
                    const Draft& draft = drafts_[d];
                    if (draft.kind != ProvinceKind::kLand || draft.continent != continent ||
                        draft.island >= 0)
                        continue;
                    bool interior = true;
                    for (int32_t other : draft.touching) {
                        const Draft& o = drafts_[static_cast<size_t>(other)];
                        interior =
                            interior && o.kind == ProvinceKind::kLand && o.continent == continent;
                    }
                    if (!interior)
                        continue;
                    const int64_t score = draft.sumHeight / std::max<int64_t>(1, draft.count) * 4 +
                                          static_cast<int64_t>(draft.touching.size());
                    if (score > bestScore) {
                        bestScore = score;
                        best = static_cast<int32_t>(d);
                    }
                }
                if (best >= 0)
                    drafts_[static_cast<size_t>(best)].kind = ProvinceKind::kLinked;
            }
        }
    }

    // --- straits -----------------------------------------------------------

    bool IsLandDraft(int32_t d) const {
        return drafts_[static_cast<size_t>(d)].kind == ProvinceKind::kLand;
    }

    // Pairs of land drafts that do not touch, with open water between the
    // nearest of their coastal cells within reach.
    std::vector<Crossing> FindCrossings() const {
        constexpr int32_t kReach = 340;
        constexpr int32_t kStride = 4; // coarse scan over every 4th cell
        std::map<std::pair<int32_t, int32_t>, Crossing> best;
        for (int32_t row = 0; row < kRowsN; row += kStride)
            for (int32_t column = 0; column < kCols; column += kStride) {
                const size_t cell = At(column, row);
                const int32_t a = label_[cell];
                if (!IsLandDraft(a) || seaDistance_[cell] != 0)
                    continue;
                bool coast = false;
                for (int32_t k = 1; k <= 4 && !coast; ++k)
                    ForNeighbours(cell, true,
                                  [&](size_t next) { coast = coast || surface_[next] == kWater; });
                if (!coast) {
                    // a cell two steps from the water counts as well
                    for (int32_t dy = -2; dy <= 2 && !coast; ++dy)
                        for (int32_t dx = -2; dx <= 2 && !coast; ++dx) {
                            const int32_t r = row + dy;
                            if (r < 0 || r >= kRowsN)
                                continue;
                            coast = surface_[At((column + dx + kCols) % kCols, r)] == kWater;
                        }
                }
                if (!coast)
                    continue;
                const int32_t span = kReach / kCell;
                for (int32_t dy = -span; dy <= span; dy += kStride)
                    for (int32_t dx = -span; dx <= span; dx += kStride) {
                        const int32_t r = row + dy;
                        if (r < 0 || r >= kRowsN)
                            continue;
                        const size_t other = At((column + dx + kCols) % kCols, r);
                        const int32_t b = label_[other];
                        if (b <= a || !IsLandDraft(b))
                            continue;
                        const Draft& da = drafts_[static_cast<size_t>(a)];
                        const Draft& db = drafts_[static_cast<size_t>(b)];
                        if (da.continent != db.continent || da.touching.count(b))
                            continue;
                        const int64_t d2 = static_cast<int64_t>(dx) * dx * kCell * kCell +
                                           static_cast<int64_t>(dy) * dy * kCell * kCell;
                        if (d2 > static_cast<int64_t>(kReach) * kReach)
                            continue;
                        auto found = best.find({a, b});
                        if (found != best.end() && found->second.distance <= d2)
                            continue;
                        if (!OpenWaterBetween(cell, other, a, b))
                            continue;
                        best[{a, b}] = Crossing{a, b, d2, cell, other};
                    }
            }
        std::vector<Crossing> out;
        for (const auto& [pair, crossing] : best)
            out.push_back(crossing);
        std::stable_sort(out.begin(), out.end(), [](const Crossing& x, const Crossing& y) {
            return x.distance < y.distance;
        });
        return out;
    }

    // The straight line between two cells runs over the two drafts and
    // water only, and over some water.
    bool OpenWaterBetween(size_t from, size_t to, int32_t a, int32_t b) const {
        const int32_t x0 = static_cast<int32_t>(from % kCols);
        const int32_t y0 = static_cast<int32_t>(from / kCols);
        int32_t dx = static_cast<int32_t>(to % kCols) - x0;
        if (dx > kCols / 2)
            dx -= kCols;
        if (dx < -kCols / 2)
            dx += kCols;
        const int32_t dy = static_cast<int32_t>(to / kCols) - y0;
        const int32_t steps = std::max(std::abs(dx), std::abs(dy));
        bool water = false;
        for (int32_t s = 1; s < steps; ++s) {
            const int32_t x = (x0 + dx * s / steps + kCols) % kCols;
            const int32_t y = y0 + dy * s / steps;
            const size_t cell = At(x, y);
            if (surface_[cell] == kWater)
                water = true;
            else if (label_[cell] != a && label_[cell] != b)
                return false;
        }
        return water;
    }

    // The game links nine fixed pairs of provinces across the water; their
    // drafts are chosen here and get those ids later. Every designed island
    // is reached by one of them.
    void ChooseStraits() {
        crossings_ = FindCrossings();
        const std::vector<Crossing>& crossings = crossings_;
        std::set<int32_t> used;
        auto islandOf = [&](int32_t d) { return drafts_[static_cast<size_t>(d)].island; };
        auto continentOf = [&](int32_t d) { return drafts_[static_cast<size_t>(d)].continent; };
        // The best crossing between the island and its coast (or, for -1,
        // any crossing of the continent), with neither end used.
        auto pick = [&](int32_t continent, int32_t island) -> std::pair<int32_t, int32_t> {
            for (const Crossing& c : crossings) {
                if (continentOf(c.a) != continent || used.count(c.a) || used.count(c.b))
                    continue;
                const int32_t ia = islandOf(c.a);
                const int32_t ib = islandOf(c.b);
                if (island >= 0 &&
                    !((ia == island && ib != island) || (ib == island && ia != island)))
                    continue;
                // mainland end first
                const bool aOnIsland = island >= 0 && ia == island;
                return aOnIsland ? std::make_pair(c.b, c.a) : std::make_pair(c.a, c.b);
            }
            std::fprintf(stderr, "make_demo_world: no strait for continent %d island %d\n",
                         continent, island);
            std::abort();
        };
        auto claim = [&](std::pair<int32_t, int32_t> pair) {
            used.insert(pair.first);
            used.insert(pair.second);
            return pair;
        };
        // The western isle: one coastal province faces two of the isle's.
        std::pair<int32_t, int32_t> hub{-1, -1};
        int32_t hubSecond = -1;
        for (const Crossing& first : crossings) {
            if (continentOf(first.a) != kEurope)
                continue;
            const int32_t coast = islandOf(first.a) == 0 ? first.b : first.a;
            const int32_t isle = coast == first.a ? first.b : first.a;
            if (islandOf(isle) != 0 || islandOf(coast) == 0)
                continue;
            for (const Crossing& second : crossings) {
                const int32_t other =
                    second.a == coast ? second.b : (second.b == coast ? second.a : -1);
                if (other < 0 || other == isle || islandOf(other) != 0)
                    continue;
                hub = {coast, isle};
                hubSecond = other;
                break;
            }
            if (hub.first >= 0)
                break;
        }
        if (hub.first < 0) {
            std::fprintf(stderr, "make_demo_world: the western isle has no double crossing\n");
            std::abort();
        }
        used.insert(hub.first);
        used.insert(hub.second);
        used.insert(hubSecond);
        const auto isle2 = claim(pick(kEurope, 0));  // 359-479
        const auto inner1 = claim(pick(kEurope, 1)); // 394-395
        const auto inner2 = claim(pick(kEurope, 2)); // 464-465
        const auto inner3 = claim(pick(kEurope, 3)); // 307-309
        // 337-339: the crossing nearest the lowlands of the north-western
        // mainland.
        std::pair<int32_t, int32_t> lowlandsPair{-1, -1};
        int64_t lowlandsDistance = INT64_MAX;
        for (const Crossing& c : crossings) {
            if (continentOf(c.a) != kEurope || used.count(c.a) || used.count(c.b))
                continue;
            const int32_t x = CentreX(c.cellA) + WrapDx(CentreX(c.cellB) - CentreX(c.cellA)) / 2;
            const int32_t y = (CentreY(c.cellA) + CentreY(c.cellB)) / 2;
            const int64_t d2 = Distance2(x, y, design::kLowlands.x, design::kLowlands.y);
            if (d2 < lowlandsDistance) {
                lowlandsDistance = d2;
                lowlandsPair = {c.a, c.b};
            }
        }
        if (lowlandsPair.first < 0)
            lowlandsPair = pick(kEurope, -1);
        const auto lowlands = claim(lowlandsPair);
        const auto america = claim(pick(kAmerica, 4)); // 93-95
        const auto asia = claim(pick(kAsia, 5));       // 686-687
        // In the order of the game's pairs: 307-309, 93-95, 357-477,
        // 357-478, 394-395, 359-479, 464-465, 686-687, 337-339.
        straitDrafts_ = {inner3, america, hub,     {hub.first, hubSecond}, inner1, isle2,
                         inner2, asia,    lowlands};
    }

    // --- regions and areas -------------------------------------------------

    int32_t DraftX(const Draft& d) const { return CentreX(static_cast<size_t>(d.insideCell)); }
    int32_t DraftY(const Draft& d) const { return CentreY(static_cast<size_t>(d.insideCell)); }

    void NameRegions() {
        // Land: the nearest anchor of the continent; sea: of the sea.
        for (Draft& draft : drafts_) {
            if (draft.kind == ProvinceKind::kLake) {
                draft.region = RegionIndex("Lake");
                draft.area = AreaIndex("Lake");
                continue;
            }
            if (draft.kind == ProvinceKind::kWasteland) {
                draft.region = 0;
                draft.area = 0;
                continue;
            }
            const bool sea = draft.kind == ProvinceKind::kSea;
            int64_t best = INT64_MAX;
            for (const design::Anchor& anchor : design::kAnchors) {
                if (sea ? anchor.continent != 0 : anchor.continent != draft.continent)
                    continue;
                const int64_t d2 = Distance2(DraftX(draft), DraftY(draft), anchor.x, anchor.y);
                if (d2 < best) {
                    best = d2;
                    draft.region = RegionIndex(anchor.region);
                }
            }
            if (sea) {
                draft.area = AreaIndex("Sea");
                // The open ocean far from land around the Pacific point.
                if (Distance2(DraftX(draft), DraftY(draft), design::kPacificSea.x,
                              design::kPacificSea.y) < 1400ll * 1400)
                    draft.region = RegionIndex("Pacific");
            }
        }
        // Areas: each land region's drafts split among its areas by growing
        // from spread-out seeds over the touching drafts.
        for (const design::RegionAreas& ra : design::kRegionAreas) {
            const int32_t region = RegionIndex(ra.region);
            std::vector<int32_t> members;
            for (size_t d = 0; d < drafts_.size(); ++d)
                if (drafts_[d].region == region && drafts_[d].kind != ProvinceKind::kSea)
                    members.push_back(static_cast<int32_t>(d));
            std::vector<int32_t> areas;
            for (const char* name : ra.areas)
                if (name)
                    areas.push_back(AreaIndex(name));
            SplitIntoAreas(members, areas);
        }
    }

    void SplitIntoAreas(const std::vector<int32_t>& members, const std::vector<int32_t>& areas) {
        if (members.empty())
            return;
        // Seeds: the member farthest north-west first, then each next one
        // the farthest from the seeds so far.
        std::vector<int32_t> seeds;
        int32_t first = members.front();
        for (int32_t m : members) {
            const Draft& d = drafts_[static_cast<size_t>(m)];
            const Draft& f = drafts_[static_cast<size_t>(first)];
            if (DraftY(d) + DraftX(d) / 4 < DraftY(f) + DraftX(f) / 4)
                first = m;
        }
        seeds.push_back(first);
        while (seeds.size() < std::min(areas.size(), members.size())) {
            int32_t far = -1;
            int64_t farDistance = -1;
            for (int32_t m : members) {
                int64_t nearest = INT64_MAX;
                const Draft& d = drafts_[static_cast<size_t>(m)];
                for (int32_t s : seeds) {
                    const Draft& sd = drafts_[static_cast<size_t>(s)];
                    nearest =
                        std::min(nearest, Distance2(DraftX(d), DraftY(d), DraftX(sd), DraftY(sd)));
                }
                if (nearest > farDistance) {
                    farDistance = nearest;
                    far = m;
                }
            }
            seeds.push_back(far);
        }
        // Order the seeds west to east so that the area names run that way.
        std::vector<int32_t> order = seeds;
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            const Draft& da = drafts_[static_cast<size_t>(a)];
            const Draft& db = drafts_[static_cast<size_t>(b)];
            return DraftY(da) / 600 * 100000 + DraftX(da) < DraftY(db) / 600 * 100000 + DraftX(db);
        });
        std::map<int32_t, int32_t> areaOf;
        for (size_t i = 0; i < order.size(); ++i)
            areaOf[order[i]] = areas[i];
        // Nearest seed by distance.
        for (int32_t m : members) {
            const Draft& d = drafts_[static_cast<size_t>(m)];
            int64_t best = INT64_MAX;
            for (int32_t s : seeds) {
                const Draft& sd = drafts_[static_cast<size_t>(s)];
                const int64_t d2 = Distance2(DraftX(d), DraftY(d), DraftX(sd), DraftY(sd));
                if (d2 < best) {
                    best = d2;
                    drafts_[static_cast<size_t>(m)].area = areaOf[s];
                }
            }
        }
    }

    // --- ids -------------------------------------------------------------

    void AssignIds() {
        std::vector<int32_t> idToDraft(kLastProvince + 1, -1);
        auto give = [&](int32_t d, int32_t id) {
            Draft& draft = drafts_[static_cast<size_t>(d)];
            if (draft.id != 0 || idToDraft[static_cast<size_t>(id)] >= 0) {
                std::fprintf(stderr, "make_demo_world: id %d given twice\n", id);
                std::abort();
            }
            draft.id = id;
            idToDraft[static_cast<size_t>(id)] = d;
        };
        // The strait pairs.
        static constexpr std::array<std::pair<int32_t, int32_t>, 9> kPairs = {{{307, 309},
                                                                               {93, 95},
                                                                               {357, 477},
                                                                               {357, 478},
                                                                               {394, 395},
                                                                               {359, 479},
                                                                               {464, 465},
                                                                               {686, 687},
                                                                               {337, 339}}};
        for (size_t i = 0; i < kPairs.size(); ++i) {
            const auto [a, b] = straitDrafts_[i];
            if (drafts_[static_cast<size_t>(a)].id == 0)
                give(a, kPairs[i].first);
            give(b, kPairs[i].second);
        }
        auto nearestFree = [&](int32_t continent, int32_t x, int32_t y, auto&& accept) {
            int32_t best = -1;
            int64_t bestDistance = INT64_MAX;
            for (size_t d = 0; d < drafts_.size(); ++d) {
                const Draft& draft = drafts_[d];
                if (draft.kind != ProvinceKind::kLand || draft.continent != continent ||
                    draft.id != 0 || !accept(draft))
                    continue;
                const int64_t d2 = Distance2(DraftX(draft), DraftY(draft), x, y);
                if (d2 < bestDistance) {
                    bestDistance = d2;
                    best = static_cast<int32_t>(d);
                }
            }
            return best;
        };
        auto any = [](const Draft&) { return true; };
        // The lowlands around 337 and 339.
        {
            const Draft& a = drafts_[static_cast<size_t>(straitDrafts_[8].first)];
            const int32_t x = DraftX(a);
            const int32_t y = DraftY(a);
            for (int32_t id : {338, 340, 377, 378, 379, 380})
                give(nearestFree(kEurope, x, y, any), id);
            // Those of the empire's lands are its Low Countries.
            const int32_t lowCountries = AreaIndex("Low Countries");
            const int32_t empire = RegionIndex("HRE");
            for (int32_t id : {337, 338, 339, 340, 377, 378, 379, 380}) {
                Draft& draft = drafts_[static_cast<size_t>(idToDraft[static_cast<size_t>(id)])];
                if (draft.region == empire)
                    draft.area = lowCountries;
            }
        }
        // Panama: the narrowest land between the two Americas.
        give(nearestFree(kAmerica, 4400, 3620, any), 39);
        // The default capital: an inland province in the middle of Europe.
        give(nearestFree(kEurope, 9800, 1800,
                         [&](const Draft& d) {
                             for (int32_t other : d.touching)
                                 if (drafts_[static_cast<size_t>(other)].kind !=
                                     ProvinceKind::kLand)
                                     return false;
                             return true;
                         }),
             399);
        // The northern bay of America: its twenty northernmost provinces.
        {
            std::vector<int32_t> north;
            for (size_t d = 0; d < drafts_.size(); ++d)
                if (drafts_[d].kind == ProvinceKind::kLand && drafts_[d].continent == kAmerica &&
                    drafts_[d].id == 0 && drafts_[d].island < 0)
                    north.push_back(static_cast<int32_t>(d));
            std::stable_sort(north.begin(), north.end(), [&](int32_t a, int32_t b) {
                return Distance2(DraftX(drafts_[static_cast<size_t>(a)]),
                                 DraftY(drafts_[static_cast<size_t>(a)]), 3700, 900) <
                       Distance2(DraftX(drafts_[static_cast<size_t>(b)]),
                                 DraftY(drafts_[static_cast<size_t>(b)]), 3700, 900);
            });
            std::vector<int32_t> ring(north.begin(), north.begin() + 20);
            SortGeographically(ring);
            for (int32_t i = 0; i < 20; ++i)
                give(ring[static_cast<size_t>(i)], 821 + i);
        }
        // Oceania's first seven: the heart of its great southern land.
        {
            std::vector<int32_t> heart;
            for (int32_t k = 0; k < 7; ++k) {
                const int32_t d = nearestFree(kOceania, 15900, 5500, any);
                heart.push_back(d);
                drafts_[static_cast<size_t>(d)].id = -1; // reserved while choosing
            }
            for (int32_t d : heart)
                drafts_[static_cast<size_t>(d)].id = 0;
            SortGeographically(heart);
            for (int32_t k = 0; k < 7; ++k)
                give(heart[static_cast<size_t>(k)], 720 + k);
        }
        // Every other land draft: by continent range, in region, area and
        // position order.
        for (int32_t continent = 1; continent <= 5; ++continent) {
            std::vector<int32_t> rest;
            for (size_t d = 0; d < drafts_.size(); ++d)
                if (drafts_[d].kind == ProvinceKind::kLand && drafts_[d].continent == continent &&
                    drafts_[d].id == 0)
                    rest.push_back(static_cast<int32_t>(d));
            SortGeographically(rest);
            size_t next = 0;
            for (const design::IdRange& range : design::kLandIds) {
                if (range.continent != continent)
                    continue;
                for (int32_t id = range.first; id <= range.last; ++id) {
                    if (idToDraft[static_cast<size_t>(id)] >= 0)
                        continue;
                    if (next >= rest.size()) {
                        std::fprintf(stderr, "make_demo_world: continent %d lacks provinces\n",
                                     continent);
                        std::abort();
                    }
                    give(rest[next++], id);
                }
            }
            if (next != rest.size()) {
                std::fprintf(stderr, "make_demo_world: continent %d has %zu provinces too many\n",
                             continent, rest.size() - next);
                std::abort();
            }
        }
        // Sea zones, then lakes, the linked kind and the ice at the end;
        // two sea zones are fixed: off the southern capes of the Americas
        // and of Africa.
        std::vector<int32_t> seas, lakes, linked, ice;
        for (size_t d = 0; d < drafts_.size(); ++d) {
            switch (drafts_[d].kind) {
            case ProvinceKind::kSea:
                seas.push_back(static_cast<int32_t>(d));
                break;
            case ProvinceKind::kLake:
                lakes.push_back(static_cast<int32_t>(d));
                break;
            case ProvinceKind::kLinked:
                linked.push_back(static_cast<int32_t>(d));
                break;
            case ProvinceKind::kWasteland:
                ice.push_back(static_cast<int32_t>(d));
                break;
            default:
                break;
            }
        }
        auto nearestSea = [&](int32_t x, int32_t y) {
            int32_t best = -1;
            int64_t bestDistance = INT64_MAX;
            for (int32_t d : seas) {
                const Draft& draft = drafts_[static_cast<size_t>(d)];
                const int64_t d2 = Distance2(DraftX(draft), DraftY(draft), x, y);
                if (draft.id == 0 && d2 < bestDistance) {
                    bestDistance = d2;
                    best = d;
                }
            }
            return best;
        };
        give(nearestSea(4900, 6900), 1240);
        give(nearestSea(10750, 6550), 1252);
        SortGeographically(seas);
        int32_t id = design::kFirstSeaId;
        auto fill = [&](const std::vector<int32_t>& list) {
            for (int32_t d : list) {
                if (drafts_[static_cast<size_t>(d)].id != 0)
                    continue;
                while (idToDraft[static_cast<size_t>(id)] >= 0)
                    ++id;
                give(d, id);
            }
        };
        fill(seas);
        fill(lakes);
        fill(linked);
        fill(ice);
        for (int32_t i = 1; i <= kLastProvince; ++i)
            if (idToDraft[static_cast<size_t>(i)] < 0) {
                std::fprintf(stderr, "make_demo_world: id %d has no province\n", i);
                std::abort();
            }
        if (static_cast<int32_t>(drafts_.size()) != kLastProvince) {
            std::fprintf(stderr, "make_demo_world: %zu provinces made\n", drafts_.size());
            std::abort();
        }
    }

    void SortGeographically(std::vector<int32_t>& list) const {
        std::stable_sort(list.begin(), list.end(), [&](int32_t a, int32_t b) {
            const Draft& da = drafts_[static_cast<size_t>(a)];
            const Draft& db = drafts_[static_cast<size_t>(b)];
            if (da.region != db.region)
                return da.region < db.region;
            if (da.area != db.area)
                return da.area < db.area;
            const int32_t ba = DraftY(da) / 400;
            const int32_t bb = DraftY(db) / 400;
            if (ba != bb)
                return ba < bb;
            return DraftX(da) < DraftX(db);
        });
    }

    // --- what each province is ------------------------------------------

    void Describe();

    friend class ProvinceDescriber;
};

} // namespace demo

namespace demo {
namespace {

// Province names made from syllables; each name is used once.
class NameMaker {
public:
    std::string Make(uint32_t salt) {
        static const char* const kFirst[] = {
            "Val", "Ost", "Ber", "Mor", "Kel", "Ard", "Sil", "Tor", "Ely",  "Hal", "Dun",
            "Cal", "Fen", "Rav", "Qua", "Zan", "Lor", "Mir", "Nar", "Pel",  "Sor", "Tal",
            "Ul",  "Vey", "Gar", "Hes", "Ith", "Jor", "Kas", "Lum", "Ober", "Ry"};
        static const char* const kMiddle[] = {"an", "er", "i",  "o", "al", "en", "ur", "a",
                                              "el", "is", "or", "u", "ar", "es", "in", "om"};
        static const char* const kLast[] = {"holm", "mark", "dor",  "wick", "stead", "gard",
                                            "mere", "vale", "burg", "heim", "ford",  "moor",
                                            "ia",   "ra",   "thal", "gan",  "kar",   "lis",
                                            "sun",  "var",  "ton",  "rak",  "lo",    "mos"};
        for (uint32_t attempt = 0;; ++attempt) {
            const uint32_t h = Hash(salt, attempt, 99);
            std::string name = kFirst[h % 32];
            if ((h >> 5) % 3 != 0)
                name += kMiddle[(h >> 7) % 16];
            name += kLast[(h >> 11) % 24];
            if (used_.insert(name).second)
                return name;
        }
    }

private:
    std::set<std::string> used_;
};

} // namespace

void WorldMapBuilder::Describe() {
    WorldMap& map = map_;
    // Cells by id.
    map.cells_.resize(kCells);
    for (size_t cell = 0; cell < kCells; ++cell)
        map.cells_[cell] = static_cast<uint16_t>(drafts_[static_cast<size_t>(label_[cell])].id);
    map.depths_ = depth_;
    map.provinces_.assign(kLastProvince + 1, WorldProvince{});
    WorldProvince& blank = map.provinces_[0];
    blank.name.assign(1, '-');
    std::vector<int64_t> heightRank;
    for (const Draft& draft : drafts_) {
        WorldProvince& p = map.provinces_[static_cast<size_t>(draft.id)];
        p.id = draft.id;
        p.kind = draft.kind;
        p.continent = draft.kind == ProvinceKind::kLand || draft.kind == ProvinceKind::kLinked
                          ? draft.continent
                          : 0;
        p.region = draft.region;
        p.area = draft.area;
        p.box = {draft.minColumn * kCell, draft.minRow * kCell, draft.maxColumn * kCell + kCell - 1,
                 draft.maxRow * kCell + kCell - 1};
        p.insideX = CentreX(static_cast<size_t>(draft.insideCell));
        p.insideY = CentreY(static_cast<size_t>(draft.insideCell));
        p.pixels = static_cast<int32_t>(draft.count * kCell * kCell);
        p.height = p.IsLand()
                       ? static_cast<int32_t>(draft.sumHeight / std::max<int64_t>(1, draft.count))
                       : 0;
        std::vector<int32_t> leading, linked;
        for (int32_t other : draft.touching) {
            const Draft& o = drafts_[static_cast<size_t>(other)];
            (o.kind == ProvinceKind::kLinked ? linked : leading).push_back(o.id);
        }
        std::sort(leading.begin(), leading.end());
        std::sort(linked.begin(), linked.end());
        p.neighbours = leading;
        p.neighbours.insert(p.neighbours.end(), linked.begin(), linked.end());
        if (p.kind == ProvinceKind::kLand)
            heightRank.push_back(p.height);
    }
    // The inside point moved onto the 16-pixel grid, still well inside.
    for (const Draft& draft : drafts_) {
        WorldProvince& p = map.provinces_[static_cast<size_t>(draft.id)];
        const auto [x, y] =
            map.PointInside(p.id, p.insideX, p.insideY, draft.insideDistance * kCell / 2);
        p.insideX = x;
        p.insideY = y;
    }
    std::sort(heightRank.begin(), heightRank.end());
    const int64_t mountainHeight = heightRank[heightRank.size() * 87 / 100];
    const int64_t lowHeight = heightRank[heightRank.size() * 15 / 100];

    // Ports: the sea zone (or lake) a land province shares the longest coast with,
    // and a point of that zone a little off the shore nearest its inside.
    std::map<std::pair<int32_t, int32_t>, int64_t> coast; // (land, sea) -> shared cell sides
    for (size_t cell = 0; cell < kCells; ++cell) {
        const int32_t id = map.cells_[cell];
        if (map.provinces_[static_cast<size_t>(id)].kind != ProvinceKind::kLand)
            continue;
        ForNeighbours(cell, true, [&](size_t next) {
            const int32_t other = map.cells_[next];
            if (map.provinces_[static_cast<size_t>(other)].IsWater())
                ++coast[{id, other}];
        });
    }
    // A sea coast comes before a lake shore, then the longer one.
    auto rank = [&](int32_t water, int64_t length) {
        return (map.provinces_[static_cast<size_t>(water)].kind == ProvinceKind::kSea ? 1ll << 40
                                                                                      : 0) +
               length;
    };
    for (const auto& [pair, length] : coast) {
        WorldProvince& p = map.provinces_[static_cast<size_t>(pair.first)];
        const auto current = coast.find({p.id, p.portSeaZone});
        if (p.portSeaZone == 0 ||
            (current != coast.end() &&
             rank(pair.second, length) > rank(p.portSeaZone, current->second)))
            p.portSeaZone = pair.second;
    }
    for (WorldProvince& p : map.provinces_) {
        if (p.portSeaZone == 0)
            continue;
        const auto [x, y] = map.PointInside(p.portSeaZone, p.insideX, p.insideY, 12);
        p.portX = x;
        p.portY = y;
    }

    // The strait markers: half way between the nearest coasts of each pair.
    for (const auto& [a, b] : straitDrafts_) {
        WorldMap::Strait strait;
        strait.a = drafts_[static_cast<size_t>(a)].id;
        strait.b = drafts_[static_cast<size_t>(b)].id;
        for (const Crossing& c : crossings_)
            if ((c.a == a && c.b == b) || (c.a == b && c.b == a)) {
                const int32_t xa = CentreX(c.cellA);
                const int32_t dx = WrapDx(CentreX(c.cellB) - xa);
                strait.x = (xa + dx / 2 + kMapWidth) % kMapWidth;
                strait.y = (CentreY(c.cellA) + CentreY(c.cellB)) / 2;
                break;
            }
        map.straits_.push_back(strait);
    }

    NameMaker names;
    for (WorldProvince& p : map.provinces_) {
        if (p.id == 0)
            continue;
        const uint32_t h = Hash(static_cast<uint32_t>(p.id), 11, 3);
        const std::string base = names.Make(static_cast<uint32_t>(p.id));
        const int32_t y = p.insideY;
        switch (p.kind) {
        case ProvinceKind::kSea: {
            static const char* const kForms[] = {"Sea of ", "Gulf of ", "", ""};
            static const char* const kEnds[] = {"", "", " Sea", " Deep"};
            p.name = kForms[h % 4] + base + kEnds[h % 4];
            p.terrain = 5;
            p.ice = y < 650 || y > 6700 ? 1 : 0;
            p.storm = ((y > 2700 && y < 3300) || (y > 4000 && y < 4600)) && h % 3 == 0 ? 1 : 0;
            break;
        }
        case ProvinceKind::kLake:
            p.name = "Lake " + base;
            p.terrain = 5;
            p.ice = y < 1600 ? 1 : 0;
            break;
        case ProvinceKind::kLinked:
            p.name = base + " Waste";
            p.terrain = 6;
            break;
        case ProvinceKind::kWasteland:
            p.name = base + " Ice";
            p.terrain = 8;
            p.ice = 1;
            break;
        default: {
            p.name = base;
            const int32_t latitude = std::abs(y - kMapHeight / 2); // 0 at the equator
            const double dry = Fractal(p.insideX, p.insideY, {1184, 592}, 21);
            const double wet = Fractal(p.insideX, p.insideY, {592, 296}, 22);
            const double wood = Fractal(p.insideX, p.insideY, {296, 148}, 23);
            if (p.height >= mountainHeight)
                p.terrain = 2;
            else if (latitude > 500 && latitude < 1500 && dry > 0.05)
                p.terrain = 3;
            else if (p.height <= lowHeight && wet > 0.15)
                p.terrain = 4;
            else if (wood > 0.18 || latitude > 2300)
                p.terrain = 1;
            else
                p.terrain = 0;
            if (p.terrain == 3)
                p.climate = 1;
            else if (y < 1300)
                p.climate = 0;
            else if (y < 2000)
                p.climate = 7;
            else if (y < 2600)
                p.climate = 5;
            else if (y < 3000 || (y > 4300 && y < 5000))
                p.climate = 3;
            else if (y <= 4300)
                p.climate = p.terrain == 1 || p.terrain == 4 ? 6 : 4;
            else
                p.climate = 8;
            p.ice = y < 700 ? 1 : 0;
            break;
        }
        }
    }
}

std::pair<int32_t, int32_t> WorldMap::PointInside(int32_t id, int32_t x, int32_t y,
                                                  int32_t margin) const {
    const WorldProvince& p = Province(id);
    const int32_t want = std::max(0, margin / kCellSize);
    // The deepest the province gets, so that the margin can be met.
    int32_t deepest = 0;
    for (int32_t row = p.box.top / kCellSize; row <= p.box.bottom / kCellSize; ++row)
        for (int32_t column = p.box.left / kCellSize; column <= p.box.right / kCellSize; ++column) {
            const size_t cell = static_cast<size_t>(row) * kColumns + static_cast<size_t>(column);
            if (cells_[cell] == id)
                deepest = std::max<int32_t>(deepest, depths_[cell]);
        }
    const int32_t need = std::min(want, deepest);
    int64_t best = INT64_MAX;
    std::pair<int32_t, int32_t> point{p.insideX, p.insideY};
    // Points on the 16-pixel grid lie in the same province at every zoom
    // (each zoom level samples the map at such points); a province too small
    // to hold one takes a point of its own off the grid.
    for (int32_t pass = 0; pass < 2 && best == INT64_MAX; ++pass)
        for (int32_t row = p.box.top / kCellSize; row <= p.box.bottom / kCellSize; ++row)
            for (int32_t column = p.box.left / kCellSize; column <= p.box.right / kCellSize;
                 ++column) {
                const size_t cell =
                    static_cast<size_t>(row) * kColumns + static_cast<size_t>(column);
                if (cells_[cell] != id || depths_[cell] < need)
                    continue;
                const bool onGrid = column % 4 == 0 && row % 4 == 0;
                if (pass == 0 && !onGrid)
                    continue;
                const int32_t cx = column * kCellSize + (pass == 0 ? 0 : kCellSize / 2);
                const int32_t cy = row * kCellSize + (pass == 0 ? 0 : kCellSize / 2);
                const int64_t d2 = Distance2(cx, cy, x, y);
                if (d2 < best) {
                    best = d2;
                    point = {cx, cy};
                }
            }
    return point;
}

size_t WorldMap::CellIndex(int32_t x, int32_t y) {
    x %= kMapWidth;
    if (x < 0)
        x += kMapWidth;
    y = std::clamp(y, 0, kMapHeight - 1);
    return static_cast<size_t>(y / kCellSize) * kColumns + static_cast<size_t>(x / kCellSize);
}

int32_t WorldMap::ProvinceAt(int32_t x, int32_t y) const {
    return cells_[CellIndex(x, y)];
}

int32_t WorldMap::DepthAt(int32_t x, int32_t y) const {
    return depths_[CellIndex(x, y)] * kCellSize;
}

int32_t WorldMap::HeightAt(int32_t x, int32_t y) const {
    return heights_[CellIndex(x, y)];
}

const WorldMap& TheWorldMap() {
    static const WorldMap map = [] {
        WorldMap made;
        WorldMapBuilder(made).Build();
        return made;
    }();
    return map;
}

} // namespace demo
