#include "weather/WeatherLayout.h"

#include "layer/DeskWidgetPlacement.h"

namespace {

// The band-0 picture of each look; the next bands follow it by id.
constexpr int kExpandedHovered = 1037;
constexpr int kFoldedHovered = 1041;
constexpr int kExpanded = 1045;
constexpr int kFolded = 1049;
// The panel's bottom with the forecast shown and folded.
constexpr int kExpandedBottom = kWeatherHeight;
constexpr int kFoldedBottom = 172;

} // namespace

WeatherBackground WeatherBackgroundFor(int percent, bool expanded, bool hovered) {
    const int first = hovered ? (expanded ? kExpandedHovered : kFoldedHovered) : (expanded ? kExpanded : kFolded);
    const int top = hovered ? 0 : kWeatherToolbarStrip;
    return WeatherBackground{first + TransparencyBand(percent),
                             LayerRect{0, top, kWeatherWidth, expanded ? kExpandedBottom : kFoldedBottom}};
}
