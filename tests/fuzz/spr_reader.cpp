// Fuzz target: arbitrary bytes as a sprite definition file, read through the
// reader the definition table uses, then shown by a map sprite drawn onto a
// small screen. The definition's sheet and the placeholder picture are small
// 8-bit pictures of the scratch game folder.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "data/Keywords.h"
#include "engine/Display.h"
#include "tests/fuzz/FuzzSupport.h"
#include "world/map/MapSprite.h"

namespace {

using fuzz::Check;

// An 8-bit picture of the size, every pixel of the index 7.
std::string SheetBmp(int32_t width, int32_t height) {
    auto put32 = [](std::string& out, uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out += static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    const uint32_t rowBytes = (static_cast<uint32_t>(width) + 3) / 4 * 4;
    std::string out = "BM";
    put32(out, 14 + 40 + 1024 + rowBytes * height);
    put32(out, 0);
    put32(out, 14 + 40 + 1024);
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height));
    out += std::string("\x01\x00\x08\x00", 4);
    for (int i = 0; i < 6; ++i)
        put32(out, 0);
    for (int i = 0; i < 256; ++i)
        put32(out, static_cast<uint32_t>(i * 0x010101));
    for (int32_t y = 0; y < height; ++y)
        out +=
            std::string(static_cast<size_t>(width), '\x07') + std::string(rowBytes - width, '\0');
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = [] {
        BuildKeywordIndex();
        g_screen = std::make_unique<CImage>(32, 32, 16, kImageMemory);
        return true;
    }();
    (void)prepared;
    fuzz::InScratchFolder folder;
    static const bool pictures = [&folder] {
        const std::string sheet = SheetBmp(12, 6);
        folder.WriteFile("gfx/map/units/bmp/sheet.bmp",
                         reinterpret_cast<const uint8_t*>(sheet.data()), sheet.size());
        const std::string dummy = SheetBmp(2, 2);
        folder.WriteFile("gfx/dummy.bmp", reinterpret_cast<const uint8_t*>(dummy.data()),
                         dummy.size());
        return true;
    }();
    (void)pictures;
    const std::string name = "c-eng.t-army.a-walk.d-e.l-3.spr";
    folder.WriteFile("gfx/map/units/" + name, data, size);

    {
        std::unique_ptr<SpriteDefinition> definition = ReadSpriteDefinition(name);
        Check(definition && definition->sprite);
        Check(definition->key == SpriteKey{0, 0, 1, 2, 3});
        const SpriteWorld& read = *definition->sprite;
        Check(read.frameCount >= 1);
        Check(!read.image || read.frameCount <= (read.image->width > 0 ? read.image->width : 1));

        // Shown by a map sprite at a few places of the view.
        g_mapViewRect = {0, 0, 32, 32};
        SetViewCentre(100, 100);
        FreeSpriteDefinitions();
        g_spriteDefinitions = new CSpriteDefinitionTable;
        g_spriteDefinitions->Add(std::move(definition));
        CMapSprite sprite;
        sprite.SetKey(0, 0, 1, 2, 3);
        for (int32_t at : {90, 100, 115}) {
            sprite.SetPosition(at, at);
            sprite.Draw(0);
            sprite.HitTest(16, 16);
        }
        FreeSpriteDefinitions();
    }
    return 0;
}
