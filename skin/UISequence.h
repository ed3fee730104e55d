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

    std::wstring pattern;
    bool autostart = false;
    SequenceState m_state;
    int m_span;
};

class CSequenceLabelUI : public CLabelUI {
public:
    CSequenceLabelUI() : m_player(false, 30) {}
    ~CSequenceLabelUI() override;
    const wchar_t* GetClass() const override { return L"SequenceLabel"; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void DoInit() override { m_player.Init(*this); }
    void Event(const UIEventArgs& event) override;
    // Hiding the control itself stops its animation (hiding the page it stands on does not).
    void SetVisible(bool visible) override;

    void SetSequenceImage(const std::wstring& pattern) { m_player.pattern = pattern; }
    const std::wstring& GetSequenceImage() const { return m_player.pattern; }
    void SetSequenceCount(std::uint32_t count) { m_player.m_state.count = count; }
    std::uint32_t GetSequenceCount() const { return m_player.m_state.count; }
    void SetSequenceSpan(int span) { m_player.m_span = span; }
    int GetSequenceSpan() const { return m_player.m_span; }
    void StartSequence() { m_player.Start(*this); }
    std::uint32_t CurrentFrame() const { return m_player.m_state.frame; }

private:
    SequencePlayer m_player;
};

class CSequenceButtonUI : public CButtonUI {
public:
    CSequenceButtonUI() : m_player(true, 60) {}
    ~CSequenceButtonUI() override;
    const wchar_t* GetClass() const override { return L"SequenceButton"; }
    void SetAttribute(const std::wstring& name, const std::wstring& value) override;
    void DoInit() override { m_player.Init(*this); }
    void Event(const UIEventArgs& event) override;

    void SetSequenceImage(const std::wstring& pattern) { m_player.pattern = pattern; }
    const std::wstring& GetSequenceImage() const { return m_player.pattern; }
    void SetSequenceCount(std::uint32_t count) { m_player.m_state.count = count; }
    std::uint32_t GetSequenceCount() const { return m_player.m_state.count; }
    void SetSequenceSpan(int span) { m_player.m_span = span; }
    int GetSequenceSpan() const { return m_player.m_span; }

private:
    SequencePlayer m_player;
};

}  // namespace Skin
