// Stand-in: the world map answered from the old grid layout until the
// generated map replaces it.
#include "tools/WorldMap.h"

#include "tools/DemoMapLayout.h"
#include "world/WorldNames.h"

namespace demo {

class WorldMapBuilder {
public:
    static void Build(WorldMap& map) {
        map.cells_.resize(static_cast<size_t>(WorldMap::kColumns) * WorldMap::kRows);
        map.heights_.assign(map.cells_.size(), 0);
        for (int32_t row = 0; row < WorldMap::kRows; ++row)
            for (int32_t column = 0; column < WorldMap::kColumns; ++column)
                map.cells_[static_cast<size_t>(row * WorldMap::kColumns + column)] =
                    static_cast<uint16_t>(demo::ProvinceAt(column * 4, row * 4));
        map.provinces_.resize(kLastProvince + 1);
        static const int32_t kContinents[3] = {1, 2, 3};
        for (int32_t id = 1; id <= kLastProvince; ++id) {
            WorldProvince& p = map.provinces_[static_cast<size_t>(id)];
            p.id = id;
            const CellRect cell = CellOf(id);
            p.box = {cell.left, cell.top, cell.right, cell.bottom};
            p.insideX = (cell.left + cell.right) / 2;
            p.insideY = (cell.top + cell.bottom) / 2;
            p.neighbours = GridNeighbours(id);
            p.pixels = (cell.right - cell.left + 1) * (cell.bottom - cell.top + 1);
            if (IsSea(id)) {
                p.kind = ProvinceKind::kSea;
                p.terrain = 5;
                p.area = 139;
                p.name = "Sea " + std::to_string(id);
            } else {
                p.kind = ProvinceKind::kLand;
                p.continent = kContinents[ContinentOf(id)];
                p.name = "Land " + std::to_string(id);
                p.height = 40;
                for (int32_t other : p.neighbours)
                    if (IsSea(other) && p.portSeaZone == 0) {
                        p.portSeaZone = other;
                        const CellRect s = CellOf(other);
                        p.portX = (s.left + s.right) / 2;
                        p.portY = (s.top + s.bottom) / 2;
                    }
            }
        }
    }
};

int32_t WorldMap::ProvinceAt(int32_t x, int32_t y) const {
    return demo::ProvinceAt(x, y);
}

int32_t WorldMap::HeightAt(int32_t x, int32_t y) const {
    return provinces_[static_cast<size_t>(ProvinceAt(x, y))].height;
}

const WorldMap& TheWorldMap() {
    static const WorldMap* const map = [] {
        auto* made = new WorldMap();
        WorldMapBuilder::Build(*made);
        return made;
    }();
    return *map;
}

} // namespace demo
