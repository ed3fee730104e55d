#include "skin/LayoutNode.h"

namespace Skin {

const LayoutNode* FindLayoutNode(const LayoutNode& root, const std::wstring& name) {
    if (name.empty()) return nullptr;
    std::vector<const LayoutNode*> pending{&root};
    while (!pending.empty()) {
        const LayoutNode* node = pending.back();
        pending.pop_back();
        if (node->name == name) return node;
        for (auto it = node->children.rbegin(); it != node->children.rend(); ++it) {
            pending.push_back(&*it);
        }
    }
    return nullptr;
}

LayoutNode* FindLayoutNode(LayoutNode& root, const std::wstring& name) {
    return const_cast<LayoutNode*>(FindLayoutNode(static_cast<const LayoutNode&>(root), name));
}

}  // namespace Skin
