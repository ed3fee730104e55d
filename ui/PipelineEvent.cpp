#include "ui/PipelineEvent.h"

EventCallback MakeEventPoster(const std::atomic<HWND>* target) {
    return [target](int code, double value, const wchar_t* message) {
        const HWND window = target->load();
        if (!window) return;
        auto* event = new PipelineEvent{code, value, message ? message : L""};
        // A window that is gone takes no message: the record is then ours to free.
        if (!PostMessageW(window, kPipelineEventMessage, 0, reinterpret_cast<LPARAM>(event)))
            delete event;
    };
}
