#pragma once

#include <optional>
#include <string_view>

namespace tesselor {

// Whether the bytes start with a GIF signature.
bool isGif(std::string_view bytes);

// The entries of the colour table the first image of a GIF file is drawn with: its local table, else the
// global one (2 to 256). Nothing when the bytes are no GIF or end before that image says it.
std::optional<int> gifColourTableEntries(std::string_view bytes);

// Whether the bytes hold the whole of the first image, the one a reader shows: its descriptor, table and
// every block of its data. A file cut short in them would show made-up rows.
bool gifFirstImageComplete(std::string_view bytes);

} // namespace tesselor
