#pragma once

#include "skin/LayoutNode.h"

// The pages of a tab layout: which child is shown.
namespace Skin {

// When the tree is built the first visible child becomes the current page and every later
// child is hidden (earlier, hidden children stay hidden). Without a visible child the current
// page is -1.
void InitTabPages(LayoutNode& tab);

enum class PageSelection {
    OutOfRange,      // nothing changed; SelectItem answers false
    AlreadyCurrent,  // nothing changed; SelectItem answers true and sends nothing
    Changed,         // the page is shown, all others hidden; lay out again and send "tabselect"
};

// Selecting a page by index.
PageSelection SelectTabPage(LayoutNode& tab, int index);

}  // namespace Skin
