// Fuzz target: arbitrary bytes as "config\buttons.txt", read into an
// interface button table. Every button kept sits in the slot of its own id,
// which is a named id, and its up list names only such ids.
#include <cstddef>
#include <cstdint>

#include "data/Keywords.h"
#include "tests/fuzz/FuzzSupport.h"
#include "ui/widgets/InterfaceButton.h"

using fuzz::Check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool prepared = [] {
        BuildKeywordIndex();
        return true;
    }();
    (void)prepared;
    fuzz::InScratchFolder folder;
    folder.WriteFile("config/buttons.txt", data, size);

    CInterfaceButtonTable table("config\\buttons.txt");
    for (int32_t id = 0; id < kInterfaceButtonCount; ++id) {
        const CInterfaceButton* button = table.slots[static_cast<size_t>(id)];
        if (!button)
            continue;
        Check(button->GetId() == id);
        Check(GetInterfaceButtonName(id) != nullptr);
        Check(button->upper.size() <= CInterfaceButton::kMaxTooltip);
        Check(button->lower.size() <= CInterfaceButton::kMaxTooltip);
        for (int32_t up : button->upList)
            Check(GetInterfaceButtonName(up) != nullptr);
    }
    return 0;
}
