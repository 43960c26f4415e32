#include "engine/ImageCache.h"

#include <algorithm>

CImageCache g_imageCache;

namespace {

bool SameNameNoCase(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

CSharedImage::CSharedImage(const std::string& fileName)
    : CImage(fileName, kPlaceMemory, false), cacheName(fileName) {}

CSharedImage::CSharedImage(int32_t imageWidth, int32_t imageHeight, int32_t bits)
    : CImage(imageWidth, imageHeight, bits, kImageMemory) {}

size_t CImageCache::BucketOf(std::string_view name) {
    int64_t sum = 0;
    for (char c : name)
        sum += static_cast<signed char>(c);
    // Characters above 127 count negative: keep the remainder in range.
    int64_t bucket = sum % static_cast<int64_t>(kBucketCount);
    return static_cast<size_t>(bucket < 0 ? bucket + static_cast<int64_t>(kBucketCount) : bucket);
}

CSharedImage* CImageCache::Find(std::string_view name) const {
    for (CSharedImage* image : m_buckets[BucketOf(name)])
        if (SameNameNoCase(image->cacheName, name))
            return image;
    return nullptr;
}

CSharedImage* CImageCache::Acquire(const std::string& fileName) {
    if (CSharedImage* cached = Find(fileName)) {
        ++cached->refCount;
        return cached;
    }
    auto* image = new CSharedImage(fileName);
    Add(image);
    return image;
}

void CImageCache::Add(CSharedImage* image) {
    std::vector<CSharedImage*>& bucket = m_buckets[BucketOf(image->cacheName)];
    bucket.insert(bucket.begin(), image);
    ++m_count;
}

bool CImageCache::Remove(CSharedImage* image) {
    std::vector<CSharedImage*>& bucket = m_buckets[BucketOf(image->cacheName)];
    auto at = std::find(bucket.begin(), bucket.end(), image);
    if (at == bucket.end())
        return false;
    bucket.erase(at);
    --m_count;
    return true;
}

void CImageCache::Clear() {
    for (std::vector<CSharedImage*>& bucket : m_buckets) {
        for (CSharedImage* image : bucket)
            delete image;
        bucket.clear();
    }
    m_count = 0;
}

void CImageCache::Release(CSharedImage* image) {
    if (!image || --image->refCount > 0)
        return;
    Remove(image);
    delete image;
}
