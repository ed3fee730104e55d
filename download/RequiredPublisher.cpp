#include "download/RequiredPublisher.h"

namespace {

std::wstring& Publisher() {
    static std::wstring publisher;
    return publisher;
}

}  // namespace

void SetRequiredPublisher(const std::wstring& publisher) { Publisher() = publisher; }

const std::wstring& RequiredPublisher() { return Publisher(); }
