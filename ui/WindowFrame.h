#pragma once
// CWindowFrame: the nine pictures of a window's frame, of frame kind 16 or
// 8. Start-up makes one set of each kind.
#include <cstdint>

class CWindowFrame {
public:
    explicit CWindowFrame(uint32_t frameKind) : kind(frameKind) {}
    virtual ~CWindowFrame() = default;

    uint32_t kind;
};
