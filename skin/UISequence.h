#pragma once
#include <cstdint>
#include <string>

#include "skin/FramePattern.h"
#include "skin/UIButton.h"
#include "skin/UILabel.h"

namespace Skin {

// The animation state both sequence controls share: on each tick of toolkit timer 2100 the
// next frame's file (from the pattern) becomes the control's background image.
class SequencePlayer {
public:
    static const UINT kTimerId = 2100;

    explicit SequencePlayer(bool round, int span) : m_span(span) { m_state.round = round; }
    // sequencebkimage, sequencecount, sequencespan, sequenceloop, autostart, sequenceround;
    // false for every other attribute.
    bool SetAttribute(const std::wstring& name, const std::wstring& value);
    void Init(CControlUI& control);   // autostart
    void Start(CControlUI& control);  // frame 0, timer 2100 at the span (kept when running)
    void Tick(CControlUI& control);
    void Stop(CControlUI& control);

    std::wstring pattern;
    bool autostart = false;
    SequenceState m_state;
    int m_span;
};

// A label or button that plays a frame sequence: the attributes and operations both share.
template <typename Base>
class CSequenceControl : public Base {
public:
    CSequenceControl(bool round, int span) : m_player(round, span) {}
    ~CSequenceControl() override { m_player.Stop(*this); }  // its timer goes with it
    void SetAttribute(const std::wstring& name, const std::wstring& value) override {
        if (!m_player.SetAttribute(name, value)) Base::SetAttribute(name, value);
    }
    void DoInit() override { m_player.Init(*this); }
    void Event(const UIEventArgs& event) override {
        Base::Event(event);  // the window sees the "timer" notification first
        if (event.type == UIEvent::Timer) m_player.Tick(*this);
    }

    void SetSequenceImage(const std::wstring& pattern) { m_player.pattern = pattern; }
    const std::wstring& GetSequenceImage() const { return m_player.pattern; }
    void SetSequenceCount(std::uint32_t count) { m_player.m_state.count = count; }
    std::uint32_t GetSequenceCount() const { return m_player.m_state.count; }
    void SetSequenceSpan(int span) { m_player.m_span = span; }
    int GetSequenceSpan() const { return m_player.m_span; }
    std::uint32_t CurrentFrame() const { return m_player.m_state.frame; }

protected:
    SequencePlayer m_player;
};

class CSequenceLabelUI : public CSequenceControl<CLabelUI> {
public:
    CSequenceLabelUI() : CSequenceControl(false, 30) {}
    const wchar_t* GetClass() const override { return L"SequenceLabel"; }
    // Hiding the control itself stops its animation (hiding the page it stands on does not).
    void SetVisible(bool visible) override;
    void StartSequence() { m_player.Start(*this); }
    void StopSequence() { m_player.Stop(*this); }
};

class CSequenceButtonUI : public CSequenceControl<CButtonUI> {
public:
    CSequenceButtonUI() : CSequenceControl(true, 60) {}
    const wchar_t* GetClass() const override { return L"SequenceButton"; }
};

}  // namespace Skin
