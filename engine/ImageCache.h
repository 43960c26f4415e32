#pragma once
// Pictures shared by the sprites: every sprite of one file draws the same
// CSharedImage, found by file name in g_imageCache and counted by reference.
//
// The cache is a hash table of 511 buckets; the bucket of a name is the sum
// of its characters taken as signed bytes, modulo 511 (as a remainder from 0
// to 510). Within a bucket names match without regard to case; the hash
// takes the characters as written, so names differing in case normally land
// in different buckets and are loaded separately.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Image.h"

class CSharedImage : public CImage {
public:
    // A memory image read from the file (an empty one when it cannot be
    // read), cached under the file name.
    explicit CSharedImage(const std::string& fileName);
    // A zeroed memory image of the size, named "sized image"; not cached.
    CSharedImage(int32_t imageWidth, int32_t imageHeight, int32_t bits);

    std::string cacheName; // the name it is cached under
    int32_t refCount = 1;
};

class CImageCache {
public:
    static constexpr size_t kBucketCount = 511;

    CImageCache() = default;
    CImageCache(const CImageCache&) = delete;
    CImageCache& operator=(const CImageCache&) = delete;

    static size_t BucketOf(std::string_view name);

    // The cached image of the name, or none.
    CSharedImage* Find(std::string_view name) const;
    // The cached image with one more reference, or a new one loaded from the
    // file and entered.
    CSharedImage* Acquire(const std::string& fileName);
    // Enters the image at the head of the bucket of its cacheName.
    void Add(CSharedImage* image);
    // Takes the image out of its bucket; false when it is not there.
    bool Remove(CSharedImage* image);
    // One reference less; at 0 the image leaves the cache (when it is in
    // it) and is deleted.
    void Release(CSharedImage* image);

    // Deletes every cached image of every bucket and sets the count to 0.
    // For the program's shutdown, once every holder has released its
    // pictures: a sprite still holding one would be left with a deleted
    // picture.
    void Clear();

    uint32_t GetCount() const { return m_count; }

private:
    std::array<std::vector<CSharedImage*>, kBucketCount> m_buckets;
    uint32_t m_count = 0;
};

// Frees its entries at exit, never the images.
extern CImageCache g_imageCache;
