#include "graphics/cad_settings.h"

#include <algorithm>

namespace kora {

CadSettings CadSettingsFrom(const Configuration& config) {
    CadSettings s;
    for (int i = 0; i < kCadLayers; ++i) {
        s.layerNames[i + 1] = config.layerName[i];
        s.layerColors[i + 1] = config.layerColour[i];
    }
    std::copy(config.colourLayer.begin(), config.colourLayer.end(), s.upperLayerColors.begin());
    std::copy(config.lineThicknessLayer.begin(), config.lineThicknessLayer.end(),
              s.layerWidths.begin());
    std::copy(config.lineThicknessUpperLayer.begin(), config.lineThicknessUpperLayer.end(),
              s.upperLayerWidths.begin());
    s.layerMonochrome = config.layerMonochrome;
    s.textStyle = config.cadTextStyle;
    s.textWidthFactor = config.cadTextWidthFactor;
    s.textObliqueAngle = config.textAngle;
    s.decimals = config.decimalsDxf;
    s.textMode = config.cadTextMode;
    s.drawingScale = config.DimensionSizeFactor;
    s.printBorder = config.screendumpBorder;
    s.cadFolder = config.cadFolder;
    const int count = std::clamp(config.vektraCommandCount, 1, kPlotterCommandSlots);
    s.plotterCommands.assign(config.vektraCommandLines.begin(),
                             config.vektraCommandLines.begin() + count);
    s.currentPlotterCommand = 0;
    return s;
}

void StorePlotterCommands(const CadSettings& settings, Configuration& config) {
    std::vector<std::string> lines = settings.plotterCommands;
    if (lines.empty()) lines.emplace_back(kDefaultVektraCommand);
    const int current =
        std::clamp(settings.currentPlotterCommand, 0, static_cast<int>(lines.size()) - 1);
    std::rotate(lines.begin(), lines.begin() + current, lines.begin() + current + 1);
    const int count = std::min<int>(static_cast<int>(lines.size()), kPlotterCommandSlots);
    for (int i = 0; i < count; ++i)
        config.vektraCommandLines[i] = lines[i];
    config.vektraCommandCount = count;
}

} // namespace kora
