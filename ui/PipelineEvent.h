#pragma once
#include <windows.h>

#include <atomic>
#include <string>

#include "download/EventCallback.h"

// One pipeline event on its way from a worker thread to the main window: a heap copy posted
// as message kPipelineEventMessage (lParam = the record), freed by the window once handled.
struct PipelineEvent {
    int code;
    double value;
    std::wstring message;
};

const UINT kPipelineEventMessage = WM_USER + 1000;  // 2024

// The callback the pipeline reports through: copies each event and posts it to the window
// that *target names at the time of the call (none: the event is dropped). Never blocks.
EventCallback MakeEventPoster(const std::atomic<HWND>* target);
