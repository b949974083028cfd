#include "mainwindow/MainLayout.h"

#include <algorithm>

namespace seltane {
namespace {

// The right panel as designed, in a panel of this size.
constexpr LayoutSize RightPanelDesign{300, 300};
const ControlPlacement RightPanelControls[] = {
    {idAddBtn, {8, 8, 75, 25}, akLeft | akTop},
    {idDelBtn, {89, 8, 75, 25}, akLeft | akTop},
    {idSetBtn, {170, 8, 110, 25}, akLeft | akTop},
    {idStyleLabel, {8, 40, 60, 13}, akLeft | akTop},
    {idStyleComboBox, {8, 56, 120, 150}, akLeft | akTop},
    {idFullScreenBtn, {136, 54, 75, 25}, akLeft | akTop},
    {idKelImage, {8, 88, 284, 204}, akLeft | akTop | akRight | akBottom},
};

}  // namespace

int ClampLeftPanelWidth(int leftPanelWidth, int clientWidth) {
  const int most = std::max(MinimumPanelWidth, clientWidth - SplitterWidth - MinimumPanelWidth);
  return std::clamp(leftPanelWidth, MinimumPanelWidth, most);
}

MainLayout ComputeMainLayout(LayoutSize client, int leftPanelWidth, int statusHeight) {
  const int height = std::max(0, client.height - statusHeight);
  const int left = ClampLeftPanelWidth(leftPanelWidth, client.width);
  MainLayout layout;
  layout.list = {0, 0, left, height};
  layout.splitter = {left, 0, SplitterWidth, height};
  const int panelLeft = left + SplitterWidth;
  const LayoutSize panel{std::max(0, client.width - panelLeft), height};
  for (const ControlPlacement& control : RightPanelControls) {
    LayoutRect rect = AnchoredRect(control, RightPanelDesign, panel);
    rect.left += panelLeft;
    layout.rightPanel.emplace_back(control.id, rect);
  }
  return layout;
}

}  // namespace seltane
