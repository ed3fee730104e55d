#include "skin/TabPages.h"

#include <cstddef>

namespace Skin {

void InitTabPages(LayoutNode& tab) {
    tab.currentPage = -1;
    for (std::size_t i = 0; i < tab.children.size(); ++i) {
        LayoutNode& page = tab.children[i];
        if (tab.currentPage >= 0) {
            page.visible = false;
        } else if (page.visible) {
            tab.currentPage = static_cast<int>(i);
        }
    }
}

PageSelection SelectTabPage(LayoutNode& tab, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= tab.children.size()) {
        return PageSelection::OutOfRange;
    }
    if (index == tab.currentPage) return PageSelection::AlreadyCurrent;
    for (std::size_t i = 0; i < tab.children.size(); ++i) {
        tab.children[i].visible = static_cast<int>(i) == index;
    }
    tab.currentPage = index;
    return PageSelection::Changed;
}

}  // namespace Skin
