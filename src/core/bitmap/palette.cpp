#include "bitmap/palette.h"

#include <algorithm>
#include <climits>
#include <numeric>
#include <unordered_map>

namespace tesselor {

namespace {

constexpr int kCacheBits = 18;
constexpr std::size_t kCacheSlots = std::size_t(1) << kCacheBits;
constexpr int kRounds = 8; // k-means rounds after the median cut

struct Weighted {
    std::array<double, 4> colour; // r, g, b, a
    double weight;
};

double distance(const std::array<double, 4>& a, const std::array<double, 4>& b) {
    double sum = 0;
    for (int c = 0; c < 4; ++c)
        sum += (a[std::size_t(c)] - b[std::size_t(c)]) * (a[std::size_t(c)] - b[std::size_t(c)]);
    return sum;
}

// Median cut: the box with the largest weighted spread is split at the weighted median of its widest
// channel until there are `count` boxes; each gives its weighted mean.
std::vector<std::array<double, 4>> medianCut(std::vector<Weighted>& points, std::size_t count) {
    struct Box {
        std::size_t begin, end;
    };
    std::vector<Box> boxes = {{0, points.size()}};
    auto spread = [&](const Box& box, int& channel) {
        std::array<double, 4> low{255, 255, 255, 255}, high{0, 0, 0, 0};
        double weight = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            weight += points[i].weight;
            for (std::size_t c = 0; c < 4; ++c) {
                low[c] = std::min(low[c], points[i].colour[c]);
                high[c] = std::max(high[c], points[i].colour[c]);
            }
        }
        channel = 0;
        for (int c = 1; c < 4; ++c)
            if (high[std::size_t(c)] - low[std::size_t(c)] >
                high[std::size_t(channel)] - low[std::size_t(channel)])
                channel = c;
        const double range = high[std::size_t(channel)] - low[std::size_t(channel)];
        return box.end - box.begin < 2 ? -1.0 : range * range * weight;
    };
    while (boxes.size() < count) {
        std::size_t best = 0;
        int channel = 0;
        double score = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            int c = 0;
            const double s = spread(boxes[i], c);
            if (s > score) {
                score = s;
                best = i;
                channel = c;
            }
        }
        if (score <= 0)
            break;
        Box box = boxes[best];
        std::sort(points.begin() + std::ptrdiff_t(box.begin), points.begin() + std::ptrdiff_t(box.end),
                  [&](const Weighted& a, const Weighted& b) {
                      return a.colour[std::size_t(channel)] < b.colour[std::size_t(channel)];
                  });
        double total = 0;
        for (std::size_t i = box.begin; i < box.end; ++i)
            total += points[i].weight;
        double sum = 0;
        std::size_t split = box.begin + 1;
        for (std::size_t i = box.begin; i < box.end - 1; ++i) {
            sum += points[i].weight;
            split = i + 1;
            if (sum >= total / 2)
                break;
        }
        boxes[best] = {box.begin, split};
        boxes.push_back({split, box.end});
    }
    std::vector<std::array<double, 4>> centres;
    for (const Box& box : boxes) {
        std::array<double, 4> sum{};
        double weight = 0;
        for (std::size_t i = box.begin; i < box.end; ++i) {
            for (std::size_t c = 0; c < 4; ++c)
                sum[c] += points[i].colour[c] * points[i].weight;
            weight += points[i].weight;
        }
        for (double& s : sum)
            s /= std::max(weight, 1e-9);
        centres.push_back(sum);
    }
    return centres;
}

// Lloyd's rounds over the weighted colours: each centre moves to the mean of the colours nearest to it.
void refine(const std::vector<Weighted>& points, std::vector<std::array<double, 4>>& centres) {
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        std::vector<double> weights(centres.size(), 0);
        for (const Weighted& point : points) {
            std::size_t best = 0;
            double bestDistance = 1e300;
            for (std::size_t i = 0; i < centres.size(); ++i) {
                const double d = distance(point.colour, centres[i]);
                if (d < bestDistance) {
                    bestDistance = d;
                    best = i;
                }
            }
            for (std::size_t c = 0; c < 4; ++c)
                sums[best][c] += point.colour[c] * point.weight;
            weights[best] += point.weight;
        }
        for (std::size_t i = 0; i < centres.size(); ++i)
            if (weights[i] > 0)
                for (std::size_t c = 0; c < 4; ++c)
                    centres[i][c] = sums[i][c] / weights[i];
    }
}

std::uint8_t clampByte(double value) {
    return static_cast<std::uint8_t>(std::clamp(value + 0.5, 0.0, 255.0));
}

} // namespace

Rgba Palette::level(Rgba pixel, PaletteEntry entry, bool alpha) {
    if (!alpha)
        pixel.a = 255;
    switch (entry) {
    case PaletteEntry::Rgb565:
        return {expand(reduce(pixel.r, 5), 5), expand(reduce(pixel.g, 6), 6), expand(reduce(pixel.b, 5), 5),
                255};
    case PaletteEntry::Argb4444:
        return {expand(reduce(pixel.r, 4), 4), expand(reduce(pixel.g, 4), 4), expand(reduce(pixel.b, 4), 4),
                expand(reduce(pixel.a, 4), 4)};
    default:
        return pixel;
    }
}

std::uint32_t Palette::key(Rgba pixel) const {
    return static_cast<std::uint32_t>(pixel.r) | static_cast<std::uint32_t>(pixel.g) << 8 |
           static_cast<std::uint32_t>(pixel.b) << 16 |
           static_cast<std::uint32_t>(alpha_ ? pixel.a : 255) << 24;
}

Palette::Palette(RowSource& rows, PaletteEntry entry) : entry_(entry), alpha_(rows.hasAlpha()) {
    if (entry_ == PaletteEntry::Rgb565)
        alpha_ = false;
    // First the exact colours, as the entries hold them, in the order they appear.
    std::unordered_map<std::uint32_t, std::uint8_t> exact;
    bool fits = true;
    rows.rewind();
    for (int y = 0; y < rows.height() && fits; ++y) {
        const Rgba* row = rows.nextRow();
        for (int x = 0; x < rows.width() && fits; ++x) {
            const Rgba stored = level(row[x], entry_, alpha_);
            if (exact.count(key(stored)) != 0)
                continue;
            if (exact.size() == 256)
                fits = false;
            else {
                exact.emplace(key(stored), static_cast<std::uint8_t>(colours_.size()));
                colours_.push_back(stored);
            }
        }
    }
    if (fits) {
        finish();
        return;
    }
    // Too many: a histogram of 6 bits a channel (5 with alpha) keeps the sums of the full colours.
    struct Bucket {
        double sum[4] = {0, 0, 0, 0};
        double count = 0;
    };
    std::unordered_map<std::uint32_t, Bucket> buckets;
    rows.rewind();
    const int shift = alpha_ ? 3 : 2;
    for (int y = 0; y < rows.height(); ++y) {
        const Rgba* row = rows.nextRow();
        for (int x = 0; x < rows.width(); ++x) {
            Rgba pixel = row[x];
            if (!alpha_)
                pixel.a = 255;
            const std::uint32_t cell =
                std::uint32_t(pixel.r >> shift) | std::uint32_t(pixel.g >> shift) << 8 |
                std::uint32_t(pixel.b >> shift) << 16 | std::uint32_t(pixel.a >> shift) << 24;
            Bucket& bucket = buckets[cell];
            bucket.sum[0] += pixel.r;
            bucket.sum[1] += pixel.g;
            bucket.sum[2] += pixel.b;
            bucket.sum[3] += pixel.a;
            bucket.count += 1;
        }
    }
    std::vector<Weighted> points;
    points.reserve(buckets.size());
    for (const auto& [cell, bucket] : buckets)
        points.push_back({{bucket.sum[0] / bucket.count, bucket.sum[1] / bucket.count,
                           bucket.sum[2] / bucket.count, bucket.sum[3] / bucket.count},
                          bucket.count});
    // The order of an unordered map is no order: sort, so that the palette is the same on every run.
    std::sort(points.begin(), points.end(),
              [](const Weighted& a, const Weighted& b) { return a.colour < b.colour; });
    std::vector<std::array<double, 4>> centres = medianCut(points, 256);
    refine(points, centres);
    colours_.clear();
    for (const auto& centre : centres)
        colours_.push_back(
            level({clampByte(centre[0]), clampByte(centre[1]), clampByte(centre[2]), clampByte(centre[3])},
                  entry_, alpha_));
    finish();
}

void Palette::finish() {
    for (std::size_t i = 0; i < colours_.size(); ++i)
        byGreen_.emplace_back(colours_[i].g, static_cast<std::uint8_t>(i));
    std::sort(byGreen_.begin(), byGreen_.end());
    cache_.assign(kCacheSlots, {});
}

int Palette::nearest(Rgba pixel) {
    if (!alpha_)
        pixel.a = 255;
    const std::uint32_t exact = key(pixel);
    Slot& slot = cache_[(exact * 2654435761u) >> (32 - kCacheBits)];
    if (slot.index < 0 || slot.key != exact)
        slot = {exact, static_cast<std::int16_t>(search(pixel))};
    return slot.index;
}

// The entry at the least squared distance; of equal ones the first in the palette.
int Palette::search(Rgba pixel) const {
    const auto distance = [&](const Rgba& c) {
        const int r = c.r - pixel.r, g = c.g - pixel.g, b = c.b - pixel.b, a = c.a - pixel.a;
        return r * r + g * g + b * b + a * a;
    };
    int best = -1;
    int bestDistance = INT_MAX;
    const auto consider = [&](std::size_t at) {
        const int index = byGreen_[at].second;
        const int d = distance(colours_[std::size_t(index)]);
        if (d < bestDistance || (d == bestDistance && index < best)) {
            bestDistance = d;
            best = index;
        }
    };
    // Outward from the entries of the same green, each way until green alone is farther than the best.
    const auto start =
        std::lower_bound(byGreen_.begin(), byGreen_.end(), std::pair<std::uint8_t, std::uint8_t>(pixel.g, 0));
    std::size_t up = std::size_t(start - byGreen_.begin());
    std::size_t down = up;
    const auto far = [&](std::size_t at) {
        const int g = byGreen_[at].first - pixel.g;
        return g * g > bestDistance;
    };
    while (up < byGreen_.size() || down > 0) {
        if (up < byGreen_.size()) {
            if (far(up))
                up = byGreen_.size();
            else
                consider(up++);
        }
        if (down > 0) {
            if (far(down - 1))
                down = 0;
            else
                consider(--down);
        }
    }
    return std::max(best, 0);
}

void Palette::store(int index, std::uint8_t* to) const {
    const Rgba c = colours_[static_cast<std::size_t>(index)];
    switch (entry_) {
    case PaletteEntry::Argb8888:
        to[0] = c.b;
        to[1] = c.g;
        to[2] = c.r;
        to[3] = c.a;
        break;
    case PaletteEntry::Rgb565: {
        const std::uint32_t v = reduce(c.r, 5) << 11 | reduce(c.g, 6) << 5 | reduce(c.b, 5);
        to[0] = static_cast<std::uint8_t>(v & 0xFF);
        to[1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    case PaletteEntry::Argb4444: {
        const std::uint32_t v =
            reduce(c.a, 4) << 12 | reduce(c.r, 4) << 8 | reduce(c.g, 4) << 4 | reduce(c.b, 4);
        to[0] = static_cast<std::uint8_t>(v & 0xFF);
        to[1] = static_cast<std::uint8_t>(v >> 8);
        break;
    }
    default:
        break;
    }
}

} // namespace tesselor
