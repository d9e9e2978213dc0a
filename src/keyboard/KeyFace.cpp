// PLACEHOLDER until key painting lands.
#include "keyboard/HvBtn.h"
namespace luma {
void THvBtn::Refresh() {}
void THvBtn::Paint(DrawingCanvas&, bool) {}
void THvBtn::ChooseColors(DrawingCanvas&, bool, bool) {}
void THvBtn::DrawOutline(DrawingCanvas&, const std::vector<Point>&, bool) {}
void THvBtn::DrawFace(const std::vector<Point>&) {}
TextBox THvBtn::ComputeTextBox(const std::vector<Point>&) { return {}; }
bool THvBtn::DrawCaption(const TextBox&) { return false; }
void THvBtn::DrawCharLabel(const TextBox&) {}
}  // namespace luma
