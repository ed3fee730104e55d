#include "skin/UISequence.h"

#include "skin/UIManager.h"
#include "skin/ValueSyntax.h"

namespace Skin {
namespace {

bool Is(const std::wstring& name, const wchar_t* known) { return _wcsicmp(name.c_str(), known) == 0; }

}  // namespace

bool SequencePlayer::SetAttribute(const std::wstring& name, const std::wstring& value) {
    // Exactly "false" switches these off; any other value on.
    const bool on = value != L"false";
    if (name == L"sequencebkimage") pattern = value;
    else if (Is(name, L"sequencecount")) m_state.count = static_cast<std::uint32_t>(ParseInteger(value));
    else if (Is(name, L"sequencespan")) m_span = ParseInteger(value);
    else if (Is(name, L"sequenceloop")) m_state.loop = on;
    else if (Is(name, L"autostart")) autostart = on;
    else if (Is(name, L"sequenceround")) m_state.round = on;
    else return false;
    return true;
}

void SequencePlayer::Init(CControlUI& control) {
    if (autostart && control.GetManager())
        control.GetManager()->SetTimer(&control, kTimerId, static_cast<UINT>(m_span));
}

void SequencePlayer::Start(CControlUI& control) {
    m_state.frame = 0;
    if (control.GetManager())
        control.GetManager()->SetTimer(&control, kTimerId, static_cast<UINT>(m_span));
}

void SequencePlayer::Tick(CControlUI& control) {
    if (pattern.empty()) return;
    const SequenceStep step = NextSequenceStep(m_state);
    if (step.stop) {
        Stop(control);
        return;
    }
    control.SetBkImage(FormatFramePattern(pattern, step.shown));
}

void SequencePlayer::Stop(CControlUI& control) {
    if (control.GetManager()) control.GetManager()->KillTimer(&control, kTimerId);
}

void CSequenceLabelUI::SetVisible(bool visible) {
    if (!visible) m_player.Stop(*this);
    CLabelUI::SetVisible(visible);
}

}  // namespace Skin
