#include "mainwindow/MainLayout.h"

#include <algorithm>

namespace seltane {
namespace {

// The right panel as designed, in a panel of this size.
constexpr LayoutSize RightPanelDesign{300, 300};
constexpr ControlPlacement RightPanelControls[] = {
    {idAddBtn, {8, 8, 75, 25}, akLeft | akTop},
    {idDelBtn, {89, 8, 75, 25}, akLeft | akTop},
    {idSetBtn, {170, 8, 110, 25}, akLeft | akTop},
    {idStyleLabel, {8, 40, 60, 13}, akLeft | akTop},
    {idStyleComboBox, {8, 56, 120, 150}, akLeft | akTop},
    {idFullScreenBtn, {136, 54, 75, 25}, akLeft | akTop},
    {idKelImage, {8, 88, 284, 204}, akLeft | akTop | akRight | akBottom},
};

}  // namespace

int ClampLeftPanelWidth(int leftPanelWidth, int clientWidth, int dpi) {
  const int least = ScaleToDpi(MinimumPanelWidth, dpi);
  const int most = std::max(least, clientWidth - ScaleToDpi(SplitterWidth, dpi) - least);
  return std::clamp(leftPanelWidth, least, most);
}

MainLayout ComputeMainLayout(const MainLayoutInput& input) {
  const int dpi = input.dpi;
  const int height = std::max(0, input.client.height - input.statusHeight);
  const int left = ClampLeftPanelWidth(input.leftPanelWidth, input.client.width, dpi);
  MainLayout layout;
  layout.splitterWidth = ScaleToDpi(SplitterWidth, dpi);
  layout.list = {0, 0, left, height};
  const int panelLeft = left + layout.splitterWidth;
  const LayoutSize panel{std::max(0, input.client.width - panelLeft), height};
  layout.rightPanel = PlaceControls(RightPanelControls, RightPanelDesign, panel, dpi);
  for (auto& [id, rect] : layout.rightPanel) {
    rect.left += panelLeft;
    if (id == idSetBtn) {
      layout.progressBar = rect;
    }
  }
  int edge = 0;
  for (std::size_t panelIndex = 0; panelIndex < input.statusTextWidths.size(); ++panelIndex) {
    edge += std::max(ScaleToDpi(StatusPanelWidths[panelIndex], dpi),
                     input.statusTextWidths[panelIndex] + ScaleToDpi(StatusTextMargin, dpi));
    layout.statusEdges[panelIndex] = edge;
  }
  layout.statusEdges.back() = -1;
  return layout;
}

}  // namespace seltane
