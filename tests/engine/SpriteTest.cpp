// Sprites and the shared image cache: one picture per file, private
// copies, frames and their bounds, animation and its end, hit tests and
// drawing (the animation tick: tests/net/DisplayListEventsTest).
#include "engine/Sprite.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/ImageCache.h"
#include "engine/Palette.h"
#include "tests/TestSupport.h"
#include "tests/engine/ImageTestSupport.h"

namespace {

using imagetest::PixelAt;

// A 24-bit picture of `frames` frames side by side, each w x h of one
// colour (frame i: red 40 x (i + 1)), with pure green at the top-left
// pixel of every frame.
std::string FramesBmp(int32_t frames, int32_t w, int32_t h) {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < h; ++y) {
        std::string row;
        for (int32_t f = 0; f < frames; ++f)
            for (int32_t x = 0; x < w; ++x)
                row += x == 0 && y == 0 ? imagetest::Bytes({0, 255, 0})
                                        : imagetest::Bytes({10, 20, 40 * (f + 1)});
        rows.push_back(row);
    }
    return imagetest::MakeBmp(imagetest::BmpSpec(frames * w, h, 24, imagetest::FileRows(rows)));
}

uint16_t FrameColour(int32_t frame) {
    return CGraphicsBase::RgbToPixel(40 * (frame + 1), 20, 10);
}

class SpriteTest : public ::testing::Test {
protected:
    SpriteTest() {
        dir.WriteFile("gfx/strip.bmp", FramesBmp(4, 4, 3));
        dir.WriteFile("gfx/big.bmp", FramesBmp(1, 20, 20));
    }
    ~SpriteTest() override { EXPECT_EQ(g_spriteCount, 0); }

    test::ScopedGameDir dir;
};

TEST_F(SpriteTest, SpritesOfOneFileShareOnePictureLoadedOnce) {
    const uint32_t before = g_imageCache.GetCount();
    auto first = std::make_unique<CSprite>("gfx\\strip.bmp");
    // The file changes on disk: the second sprite still gets the cached one.
    dir.WriteFile("gfx/strip.bmp", FramesBmp(1, 2, 2));
    auto second = std::make_unique<CSprite>("gfx\\strip.bmp");
    ASSERT_NE(first->image, nullptr);
    EXPECT_EQ(first->image, second->image);
    EXPECT_EQ(second->image->width, 16);
    EXPECT_EQ(first->image->refCount, 2);
    EXPECT_EQ(g_imageCache.GetCount(), before + 1);
    EXPECT_EQ(g_spriteCount, 2);
    EXPECT_STREQ(first->GetName(), "gfx\\strip.bmp");

    // Deleting one leaves the picture drawn by the other.
    CSharedImage* shared = second->image;
    first.reset();
    EXPECT_EQ(g_imageCache.Find("gfx\\strip.bmp"), shared);
    EXPECT_EQ(shared->refCount, 1);
    CImage screen(8, 4, 16, kImageMemory);
    second->SetDestination(&screen);
    second->SetClipRect(0, 0, 8, 4);
    second->Draw(0);
    EXPECT_EQ(PixelAt(screen, 1, 0), FrameColour(0));
    second.reset();
    EXPECT_EQ(g_imageCache.Find("gfx\\strip.bmp"), nullptr);
    EXPECT_EQ(g_imageCache.GetCount(), before);
}

TEST_F(SpriteTest, ClearingTheCacheDeletesEveryPictureLeftInIt) {
    // A cache of its own: pictures whose holders never released them (one
    // with two references) are deleted once each (the leak check and the
    // address checks of the test run see to both).
    CImageCache cache;
    cache.Acquire("gfx\\strip.bmp");
    cache.Acquire("gfx\\strip.bmp");
    cache.Acquire("gfx\\big.bmp");
    EXPECT_EQ(cache.GetCount(), 2u);
    cache.Clear();
    EXPECT_EQ(cache.GetCount(), 0u);
    EXPECT_EQ(cache.Find("gfx\\strip.bmp"), nullptr);
    // Emptied, it serves again.
    CSharedImage* again = cache.Acquire("gfx\\strip.bmp");
    EXPECT_EQ(again->refCount, 1);
    EXPECT_EQ(cache.GetCount(), 1u);
    cache.Release(again);
    EXPECT_EQ(cache.GetCount(), 0u);
}

TEST_F(SpriteTest, CacheBucketsFollowTheCharactersAsWritten) {
    // "Ab" and "aB" have the same sum: one bucket, matched without case.
    EXPECT_EQ(CImageCache::BucketOf("gfx\\Ab.bmp"), CImageCache::BucketOf("gfx\\aB.bmp"));
    dir.WriteFile("gfx/ab.bmp", FramesBmp(1, 2, 2));
    CSprite mixed("gfx\\Ab.bmp");
    CSprite other("gfx\\aB.bmp");
    EXPECT_EQ(mixed.image, other.image);
    // Upper case changes the sum: loaded again.
    CSprite upper("GFX\\AB.BMP");
    EXPECT_NE(upper.image, mixed.image);
    // Characters above 127 count negative; the bucket stays in range.
    for (const char* name : {"", "\xE9", "\xFF\xFF\xFF\xFF", "gfx\\\xE9t\xE9.bmp"})
        EXPECT_LT(CImageCache::BucketOf(name), CImageCache::kBucketCount) << name;
    EXPECT_EQ(CImageCache::BucketOf(""), 0u);
    EXPECT_EQ(CImageCache::BucketOf("\xFF"), 510u);
}

TEST_F(SpriteTest, APrivatePictureChangesAlone) {
    CSprite shared("gfx\\strip.bmp");
    CSprite own("gfx\\strip.bmp");
    CPalette palette("other");
    ASSERT_TRUE(own.MakeImagePrivate());
    EXPECT_NE(own.image, shared.image);
    EXPECT_EQ(shared.image->refCount, 1);
    EXPECT_EQ(own.SetPalette(&palette), own.image);
    EXPECT_EQ(own.GetPalette(), &palette);
    EXPECT_NE(shared.GetPalette(), &palette);
    EXPECT_EQ(g_imageCache.Find("gfx\\strip.bmp"), shared.image);
    // A sized picture has no file to read again.
    CSprite sized(6, 4, 16);
    EXPECT_EQ(sized.image->name, "sized image");
    EXPECT_FALSE(sized.MakeImagePrivate());
    EXPECT_EQ(sized.GetWidth(), 6);
    EXPECT_EQ(sized.GetHeight(), 4);
}

TEST_F(SpriteTest, FramesAreHeldToTheirCount) {
    CSprite sprite("gfx\\strip.bmp");
    sprite.SetFrameCount(4);
    EXPECT_EQ(sprite.frameWidth, 4);
    struct Case {
        int32_t asked;
        int32_t frame;
    };
    for (Case c : {Case{2, 2}, Case{3, 3}, Case{4, 3}, Case{1000, 3}, Case{-5, 0}}) {
        sprite.SetFrame(c.asked);
        EXPECT_EQ(sprite.frame, c.frame) << c.asked;
        EXPECT_EQ(sprite.source.left, c.frame * 4);
        EXPECT_EQ(sprite.source.right, c.frame * 4 + 4);
        EXPECT_EQ(sprite.source.bottom, 3);
    }
    // A count of 0 (or less) counts as 1: no division by zero.
    for (int32_t count : {0, -3}) {
        sprite.SetFrameCount(count);
        EXPECT_EQ(sprite.frameCount, 1);
        EXPECT_EQ(sprite.frameWidth, 16);
        sprite.speed = 1;
        sprite.Animate(5);
        EXPECT_EQ(sprite.frame, 0);
    }
    // Without a picture the frame width is 0.
    CSprite empty("gfx\\missing.bmp");
    empty.SetFrameCount(3);
    EXPECT_EQ(empty.frameWidth, 0);
    EXPECT_EQ(empty.GetWidth(), 0);
}

TEST_F(SpriteTest, AnimationAdvancesByTicksAndAOneShotEndsAtFrameZero) {
    struct Case {
        const char* what;
        bool oneShot;
        int32_t startFrame;
        int32_t ticks;
        int32_t frame;
        int32_t counter;
        bool finished;
        int32_t speed;
    };
    const Case cases[] = {
        {"one-shot past the end", true, 0, 9, 0, 0, true, 0},
        {"looping past the end", false, 0, 9, 0, 1, true, 2},
        {"looping wraps", false, 3, 4, 1, 0, true, 2},
        {"within the frames", false, 0, 5, 2, 1, false, 2},
        {"one-shot within the frames", true, 1, 4, 3, 0, false, 2},
        {"too few ticks", true, 0, 1, 0, 1, false, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CSprite sprite("gfx\\strip.bmp");
        sprite.SetFrameCount(4);
        sprite.SetFrame(c.startFrame);
        sprite.speed = 2;
        sprite.oneShot = c.oneShot;
        sprite.Animate(c.ticks);
        EXPECT_EQ(sprite.frame, c.frame);
        EXPECT_EQ(sprite.source.left, c.frame * 4);
        EXPECT_EQ(sprite.tickCounter, c.counter);
        EXPECT_EQ(sprite.finished != 0, c.finished);
        EXPECT_EQ(sprite.speed, c.speed);
        EXPECT_EQ(sprite.IsAnimated(), c.speed != 0);
    }
}

TEST_F(SpriteTest, NextFrameStepsEverySpeedCalls) {
    CSprite sprite("gfx\\strip.bmp");
    sprite.SetFrameCount(4);
    sprite.speed = 3;
    for (int i = 0; i < 9; ++i)
        sprite.NextFrame();
    EXPECT_EQ(sprite.frame, 3);
    EXPECT_EQ(sprite.finished, 0);
    for (int i = 0; i < 3; ++i)
        sprite.NextFrame();
    EXPECT_EQ(sprite.frame, 0);
    EXPECT_EQ(sprite.finished, 1);
}

TEST_F(SpriteTest, HitTestsTheFrameAsDrawnAndItsTransparency) {
    CSprite sprite("gfx\\big.bmp");
    sprite.SetOrigin(10, 10);
    sprite.SetPosition(100, 100);
    sprite.hitWholeFrame = 1;
    EXPECT_TRUE(sprite.HitTest(90, 90));
    EXPECT_TRUE(sprite.HitTest(109, 109));
    EXPECT_FALSE(sprite.HitTest(110, 110));
    EXPECT_FALSE(sprite.HitTest(89, 95));
    // The colour-keyed top-left pixel is not hit unless the whole frame is.
    sprite.hitWholeFrame = 0;
    EXPECT_FALSE(sprite.HitTest(90, 90));
    EXPECT_TRUE(sprite.HitTest(91, 90));
    // At zoom 1 the frame covers half as much.
    sprite.zoomShift = 1;
    EXPECT_TRUE(sprite.HitTest(99, 99));
    EXPECT_FALSE(sprite.HitTest(100, 99));
}

TEST_F(SpriteTest, DrawsTheCurrentFrameAtThePositionLessTheOrigin) {
    for (int32_t format : {kPixelFormat565, kPixelFormat555}) {
        imagetest::FormatScope scope(format);
        CSprite sprite("gfx\\strip.bmp");
        sprite.SetFrameCount(4);
        sprite.SetFrame(2);
        sprite.SetOrigin(2, 1);
        sprite.SetPosition(6, 2);
        CImage screen(12, 6, 16, kImageMemory);
        screen.Fill(0x1111);
        sprite.SetDestination(&screen);
        sprite.SetDestination(nullptr); // only logged
        EXPECT_EQ(sprite.GetDestination(), &screen);
        sprite.SetClipRect(0, 0, 6, 6);
        sprite.hidden = 1;
        sprite.Draw(0);
        EXPECT_EQ(PixelAt(screen, 5, 1), 0x1111);
        sprite.hidden = 0;
        sprite.Draw(0);
        EXPECT_EQ(PixelAt(screen, 4, 1), 0x1111); // the colour key
        EXPECT_EQ(PixelAt(screen, 5, 1), FrameColour(2));
        EXPECT_EQ(PixelAt(screen, 5, 3), FrameColour(2));
        EXPECT_EQ(PixelAt(screen, 6, 1), 0x1111); // clipped
        EXPECT_EQ(PixelAt(screen, 5, 4), 0x1111);
    }
}

TEST_F(SpriteTest, EncodedFramesDrawTranslucentBelowThirtyTwo) {
    // An 8-bit strip of two frames: frame 0 index 9, frame 1 index 20.
    std::string greys;
    for (int i = 0; i < 256; ++i)
        greys += imagetest::Bytes({i, i, i, 0});
    std::vector<std::string> rows(2, imagetest::Bytes({9, 9, 20, 20}));
    dir.WriteFile("gfx/indexed.bmp", imagetest::MakeBmp(imagetest::BmpSpec(
                                         4, 2, 8, imagetest::FileRows(rows), greys)));
    CPalette palette = imagetest::TestPalette();
    CSprite sprite("gfx\\indexed.bmp");
    sprite.SetPalette(&palette);
    sprite.SetFrameCount(2);
    ASSERT_TRUE(sprite.BuildImageFrames());
    sprite.SetFrame(1);
    CImage screen(4, 2, 16, kImageMemory);
    screen.Fill(0);
    sprite.SetDestination(&screen);
    sprite.SetClipRect(0, 0, 4, 2);
    sprite.Draw(0);
    EXPECT_EQ(sprite.image->kind, kImageMemory);
    EXPECT_EQ(PixelAt(screen, 0, 0), static_cast<uint16_t>(palette.normalPixels[20]));
    sprite.translucency = 16;
    screen.Fill(0);
    sprite.Draw(0);
    EXPECT_EQ(sprite.image->kind, kImageTranslucent);
    EXPECT_EQ(sprite.image->translucency, 16);
    EXPECT_NE(PixelAt(screen, 0, 0), static_cast<uint16_t>(palette.normalPixels[20]));
}

} // namespace
