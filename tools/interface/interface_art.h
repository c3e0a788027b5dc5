#pragma once

// The entries of interface.pak, grouped by where they appear. Each adds model
// entries and the pictures they name to `out`.

#include "writers/pak_writer.h"

#include <vector>

using Entries = std::vector<PakWriterEntry>;

// The background "fon", the game-screen buttons and the free-colouring overlay.
void addGameScreen(Entries& out);
// The paint tube, its ribbon and number labels, the bubbles and the brush.
void addPaletteAndBrush(Entries& out);
// The colours dialog's swatches and palette pictures.
void addColoursDialog(Entries& out);

// Where the colours dialog's pictures lie on its panel (panel units: x right,
// z up, centred on the panel), shared with the tests that read them back.
namespace colours_dialog {
constexpr float kDepth = -0.2f;  // widgets sit 0.2 in front of their panel
constexpr float kGradientLeft = -5.6f, kGradientRight = 2.6f;
constexpr float kGridLeft = 3.0f, kGridRight = 5.6f;
constexpr float kPaletteBottom = -3.6f, kPaletteTop = 1.4f;
constexpr int kGradientColumns = 64, kGradientRows = 24, kGradientCellTexels = 4;
constexpr int kGridColumns = 3, kGridRows = 6, kGridCellTexels = 16;
constexpr float kSwatchBottom = 2.0f, kSwatchTop = 3.6f;
constexpr float kCurrentLeft = -5.6f, kCurrentRight = -3.4f;
constexpr float kPreviewLeft = -3.1f, kPreviewRight = -0.9f;
}  // namespace colours_dialog
