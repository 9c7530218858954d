#include "platform/ui_host.h"

// A timer without a positive interval never ticks, whatever its enabled state says.
UiTimer::UiTimer(UiHost& host, int timerId, int intervalMs, bool enabled)
    : m_Host(host), m_Id(timerId), m_Interval(intervalMs), m_Enabled(enabled)
{
    if (m_Enabled && m_Interval > 0) m_Host.StartTimer(m_Id, m_Interval);
}

UiTimer::~UiTimer()
{
    if (m_Enabled) m_Host.StopTimer(m_Id);
}

void UiTimer::SetEnabled(bool enabled)
{
    if (enabled == m_Enabled) return;
    m_Enabled = enabled;
    if (m_Enabled && m_Interval > 0) {
        m_Host.StartTimer(m_Id, m_Interval);
    } else {
        m_Host.StopTimer(m_Id);
    }
}

void UiTimer::SetInterval(int intervalMs)
{
    if (intervalMs == m_Interval) return;
    m_Interval = intervalMs;
    if (!m_Enabled) return;
    if (m_Interval > 0) {
        m_Host.StartTimer(m_Id, m_Interval);
    } else {
        m_Host.StopTimer(m_Id);
    }
}
