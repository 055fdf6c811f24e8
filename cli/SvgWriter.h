// Drawing the host model as an SVG picture: plates and walls, members coloured by group, supports,
// nodal and member loads, an axis triad and a scale bar in metres.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "MIDAStranslatetoOrvo.h"

// Direction of view: isometric from above the +X, -Y corner (Z up), or a plane projection
// (XY plan from above, XZ elevation from -Y, YZ elevation from +X).
enum class SvgView { Iso, XY, XZ, YZ };

struct SvgOptions {
    SvgView view = SvgView::Iso;
    std::string title;  // e.g. file name and units; already UTF-8
    // Turns a member's group name bytes into UTF-8 (e.g. TextEncoder::ToUtf8); empty: bytes kept.
    std::function<std::string(std::string_view)> name = [](std::string_view s) { return std::string(s); };
};

// The model as a 1200 x 900 SVG document. Members whose end nodes are not positions 1..N of
// m_Nodes or have non-finite coordinates are left out and counted as skipped in the title, and so
// are areas with such a corner (or fewer than three corners).
// Time and memory are linear in the size of the model.
std::string ModelToSvg(const ModalData_Orvo& model, const SvgOptions& options);

// "iso", "xy", "xz" or "yz" to the view; false (view unchanged) for anything else.
bool ParseSvgView(std::string_view text, SvgView& view);
