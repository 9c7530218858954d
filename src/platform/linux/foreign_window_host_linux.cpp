#include "platform/foreign_window_host.h"

#include "platform/linux/ui_host_linux.h"

std::unique_ptr<UiHost> CreateForeignWindowHost(std::optional<std::uint64_t> window)
{
    return std::make_unique<GtkUiHost>(ForeignWindowTarget{window});
}
