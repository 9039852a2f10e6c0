#include "bitmap/palette.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>
#include <unordered_map>

namespace tesselor {

namespace {

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
    // A box with its score and widest channel, computed when it is made: a split changes two boxes only.
    struct Box {
        std::size_t begin, end;
        double score;
        int channel;
    };
    const auto made = [&points](std::size_t begin, std::size_t end) {
        std::array<double, 4> low{255, 255, 255, 255}, high{0, 0, 0, 0};
        double weight = 0;
        for (std::size_t i = begin; i < end; ++i) {
            weight += points[i].weight;
            for (std::size_t c = 0; c < 4; ++c) {
                low[c] = std::min(low[c], points[i].colour[c]);
                high[c] = std::max(high[c], points[i].colour[c]);
            }
        }
        Box box{begin, end, -1.0, 0};
        for (int c = 1; c < 4; ++c)
            if (high[std::size_t(c)] - low[std::size_t(c)] >
                high[std::size_t(box.channel)] - low[std::size_t(box.channel)])
                box.channel = c;
        const double range = high[std::size_t(box.channel)] - low[std::size_t(box.channel)];
        if (end - begin >= 2)
            box.score = range * range * weight;
        return box;
    };
    std::vector<Box> boxes = {made(0, points.size())};
    while (boxes.size() < count) {
        std::size_t best = 0;
        int channel = 0;
        double score = -1;
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].score > score) {
                score = boxes[i].score;
                best = i;
                channel = boxes[i].channel;
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
        boxes[best] = made(box.begin, split);
        boxes.push_back(made(split, box.end));
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

double along(const std::array<double, 4>& colour, const std::array<double, 4>& axis) {
    return colour[0] * axis[0] + colour[1] * axis[1] + colour[2] * axis[2] + colour[3] * axis[3];
}

// The direction in which the centres spread most (a unit vector, by power iteration on their covariance):
// the distance along it is the lower bound of the distance that prunes best.
std::array<double, 4> widestAxis(const std::vector<std::array<double, 4>>& centres) {
    std::array<double, 4> mean{};
    for (const auto& c : centres)
        for (std::size_t k = 0; k < 4; ++k)
            mean[k] += c[k] / double(centres.size());
    double covariance[4][4] = {};
    for (const auto& c : centres)
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                covariance[i][j] += (c[i] - mean[i]) * (c[j] - mean[j]);
    std::array<double, 4> axis{0.5, 0.5, 0.5, 0.5};
    for (int step = 0; step < 16; ++step) {
        std::array<double, 4> next{};
        for (std::size_t i = 0; i < 4; ++i)
            for (std::size_t j = 0; j < 4; ++j)
                next[i] += covariance[i][j] * axis[j];
        const double length = std::sqrt(along(next, next));
        if (!(length > 1e-9))
            return {0, 1, 0, 0};
        for (std::size_t k = 0; k < 4; ++k)
            axis[k] = next[k] / length;
    }
    return axis;
}

// Lloyd's rounds over the weighted colours: each centre moves to the mean of the colours nearest to it.
// A colour starts from its centre of the round before and looks outward from its place along the axis
// the centres spread most on, among the centres ordered along it, until that distance alone is farther
// than the best; the choice is the one a full scan makes (the first of the nearest).
void refine(const std::vector<Weighted>& points, std::vector<std::array<double, 4>>& centres) {
    // The distance along the axis is computed, not exact: a margin far beyond its rounding keeps the
    // bound a bound.
    constexpr double kSlack = 1e-9;
    std::vector<std::size_t> previous(points.size(), 0);
    std::vector<std::pair<double, std::size_t>> byAxis(centres.size());
    for (int round = 0; round < kRounds; ++round) {
        const std::array<double, 4> axis = widestAxis(centres);
        for (std::size_t i = 0; i < centres.size(); ++i)
            byAxis[i] = {along(centres[i], axis), i};
        std::sort(byAxis.begin(), byAxis.end());
        std::vector<std::array<double, 4>> sums(centres.size(), {0, 0, 0, 0});
        std::vector<double> weights(centres.size(), 0);
        for (std::size_t p = 0; p < points.size(); ++p) {
            const Weighted& point = points[p];
            std::size_t best = previous[p];
            double bestDistance = distance(point.colour, centres[best]);
            // The whole distance each time: stopping after a channel cost more in branches than it saved.
            const auto consider = [&](std::size_t i) {
                const double d = distance(point.colour, centres[i]);
                if (d < bestDistance || (d == bestDistance && i < best)) {
                    bestDistance = d;
                    best = i;
                }
            };
            const double place = along(point.colour, axis);
            const std::size_t middle = std::size_t(
                std::lower_bound(byAxis.begin(), byAxis.end(), std::pair<double, std::size_t>(place, 0)) -
                byAxis.begin());
            const auto beyond = [&](double g) { return g * g > bestDistance * (1 + kSlack) + kSlack; };
            for (std::size_t up = middle; up < byAxis.size() && !beyond(byAxis[up].first - place); ++up)
                consider(byAxis[up].second);
            for (std::size_t down = middle; down > 0 && !beyond(byAxis[down - 1].first - place); --down)
                consider(byAxis[down - 1].second);
            previous[p] = best;
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

Palette::Palette(RowSource& rows, PaletteEntry entry)
    : entry_(entry), alpha_(rows.hasAlpha()), pixels_(std::int64_t(rows.width()) * rows.height()) {
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
    // Too many: a histogram of 6 bits a channel (5 with alpha) keeps the sums of the full colours, in one
    // flat table (whole numbers, so the means are those of any order of summing).
    struct Bucket {
        std::uint64_t sum[4] = {0, 0, 0, 0};
        std::uint64_t count = 0;
    };
    const int bits = alpha_ ? 5 : 6;
    const int shift = 8 - bits;
    std::vector<Bucket> buckets(std::size_t(1) << (bits * (alpha_ ? 4 : 3)));
    rows.rewind();
    for (int y = 0; y < rows.height(); ++y) {
        const Rgba* row = rows.nextRow();
        for (int x = 0; x < rows.width(); ++x) {
            const Rgba pixel = row[x];
            const int a = alpha_ ? pixel.a : 255;
            std::size_t cell = std::size_t(pixel.r >> shift) << (2 * bits) |
                               std::size_t(pixel.g >> shift) << bits | std::size_t(pixel.b >> shift);
            if (alpha_)
                cell |= std::size_t(a >> shift) << (3 * bits);
            Bucket& bucket = buckets[cell];
            bucket.sum[0] += pixel.r;
            bucket.sum[1] += pixel.g;
            bucket.sum[2] += pixel.b;
            bucket.sum[3] += std::uint64_t(a);
            bucket.count += 1;
        }
    }
    std::vector<Weighted> points;
    for (const Bucket& bucket : buckets) {
        if (bucket.count == 0)
            continue;
        const double count = double(bucket.count);
        points.push_back({{double(bucket.sum[0]) / count, double(bucket.sum[1]) / count,
                           double(bucket.sum[2]) / count, double(bucket.sum[3]) / count},
                          count});
    }
    // In the order of their colours, the order the median cut has always been given: its ties, and so
    // the palette, stay as they were.
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
    // Cells of 8 levels a side: 32768 of them in three dimensions, a million in four, where an image of
    // fewer pixels than that gets cells of 16 levels (65536 of them) instead.
    cellBits_ = alpha_ && pixels_ < (std::int64_t(1) << 20) ? 4 : 5;
    cells_.assign(std::size_t(1) << (cellBits_ * (alpha_ ? 4 : 3)), {});
}

int Palette::cellOf(Rgba pixel) const {
    const int shift = 8 - cellBits_;
    int cell = (pixel.r >> shift) << (2 * cellBits_) | (pixel.g >> shift) << cellBits_ | pixel.b >> shift;
    if (alpha_)
        cell |= (pixel.a >> shift) << (3 * cellBits_);
    return cell;
}

void Palette::makeCandidates(int cell) {
    const int side = 1 << (8 - cellBits_);
    const int mask = (1 << cellBits_) - 1;
    const int low[4] = {(cell >> (2 * cellBits_) & mask) * side, (cell >> cellBits_ & mask) * side,
                        (cell & mask) * side, alpha_ ? (cell >> (3 * cellBits_) & mask) * side : 255};
    const int high[4] = {low[0] + side - 1, low[1] + side - 1, low[2] + side - 1,
                         alpha_ ? low[3] + side - 1 : 255};
    std::vector<int> nearestAt(colours_.size());
    int bound = INT_MAX;
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        const Rgba& c = colours_[i];
        const int v[4] = {c.r, c.g, c.b, c.a};
        int nearSum = 0, farSum = 0;
        for (int k = 0; k < 4; ++k) {
            const int below = low[k] - v[k], above = v[k] - high[k];
            const int near = below > 0 ? below : above > 0 ? above : 0;
            const int far = std::max(std::abs(v[k] - low[k]), std::abs(v[k] - high[k]));
            nearSum += near * near;
            farSum += far * far;
        }
        nearestAt[i] = nearSum;
        bound = std::min(bound, farSum);
    }
    Cell& made = cells_[std::size_t(cell)];
    made.first = static_cast<std::uint32_t>(candidates_.size());
    // Rounding is covered by a margin far larger than it and far smaller than a level.
    const double halfDiagonal = (side - 1) / 2.0 * std::sqrt(alpha_ ? 4.0 : 3.0) + 1e-6;
    for (std::size_t i = 0; i < colours_.size(); ++i) {
        if (nearestAt[i] > bound)
            continue;
        const Rgba& c = colours_[i];
        const int v[4] = {c.r, c.g, c.b, c.a};
        double sum = 0;
        for (int k = 0; k < 4; ++k) {
            const double from = v[k] - (low[k] + high[k]) / 2.0;
            sum += from * from;
        }
        const double clear = std::max(0.0, std::sqrt(sum) - halfDiagonal);
        candidates_.push_back(
            {c, static_cast<std::uint16_t>(std::min(clear * clear, 65535.0)), static_cast<std::uint8_t>(i)});
    }
    std::stable_sort(candidates_.begin() + made.first, candidates_.end(),
                     [](const Candidate& a, const Candidate& b) { return a.clear < b.clear; });
    // Copies of the first fill a short list: weighing an entry twice changes no choice.
    const Candidate first = candidates_[made.first];
    while (candidates_.size() - made.first < std::size_t(kFirstCandidates))
        candidates_.push_back(first);
    made.count = static_cast<std::int32_t>(candidates_.size() - made.first);
}

// The entry at the least squared distance; of equal ones the first in the palette.
int Palette::nearest(Rgba pixel) {
    if (!alpha_)
        pixel.a = 255;
    // Neighbouring pixels are often the same colour.
    const std::uint32_t exact = key(pixel);
    if (exact == lastKey_ && lastIndex_ >= 0)
        return lastIndex_;
    const int cell = cellOf(pixel);
    if (cells_[std::size_t(cell)].count < 0)
        makeCandidates(cell);
    const Cell& found = cells_[std::size_t(cell)];
    // The distance and the index in one number, so that the least is the first of the nearest.
    const Candidate* candidates = candidates_.data() + found.first;
    const auto ranked = [&pixel](const Candidate& candidate) {
        const Rgba& c = candidate.colour;
        const int r = c.r - pixel.r, g = c.g - pixel.g, b = c.b - pixel.b, a = c.a - pixel.a;
        return (r * r + g * g + b * b + a * a) << 8 | candidate.index;
    };
    // Most searches end within the first few: those are weighed without a branch (a list has at least
    // that many), the rest only while the triangle inequality leaves them a chance.
    int bestRank = INT_MAX;
    for (int i = 0; i < kFirstCandidates; ++i)
        bestRank = std::min(bestRank, ranked(candidates[i]));
    for (int i = kFirstCandidates; i < found.count && candidates[i].clear <= bestRank >> 8; ++i)
        bestRank = std::min(bestRank, ranked(candidates[i]));
    const int best = bestRank & 0xFF;
    lastKey_ = exact;
    lastIndex_ = best;
    return best;
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
