#pragma once
// The about box as each OS builds it: a modal window over its owner with a panel, the title and
// version labels, two link labels and two buttons. The box decides nothing; its events reach
// the form's handlers on the UI thread.
#include <cstdint>
#include <string>

// The two link labels; the hover handlers are told which one the mouse is on.
enum class AboutLink { Web, Mail };

enum class PointerShape { Default, Hand };

// A colour given by its red, green and blue parts.
struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class AboutBoxEvents {
public:
    virtual void btnCloseClick() = 0;
    virtual void btnVisitHomePageClick() = 0;
    virtual void labelWebClick() = 0;
    virtual void labelMailClick() = 0;
    virtual void labelWebMouseEnter(AboutLink sender) = 0;
    virtual void labelWebMouseLeave(AboutLink sender) = 0;

protected:
    AboutBoxEvents() = default;
    AboutBoxEvents(const AboutBoxEvents&) = default;
    AboutBoxEvents& operator=(const AboutBoxEvents&) = default;
    ~AboutBoxEvents() = default;
};

class AboutBoxView {
public:
    virtual ~AboutBoxView() = default;

    // Events go to events from now on; it must outlive the box.
    virtual void SetEvents(AboutBoxEvents& events) = 0;

    virtual void SetVersionText(const std::string& text) = 0;
    virtual std::string VersionText() const = 0;
    // The texts that the web and mail labels show.
    virtual void SetLinkTexts(const std::string& web, const std::string& mail) = 0;
    // A link label's font colour and the mouse pointer over it. Before the first call each
    // label has the system's window-text colour and the default pointer.
    virtual void SetLinkLook(AboutLink link, Rgb colour, PointerShape pointer) = 0;

    // Shows the box modally over its owner (the owner disabled meanwhile) and returns when it
    // has been closed by Close() or by its close button.
    virtual void ShowModal() = 0;
    virtual void Close() = 0;

protected:
    AboutBoxView() = default;
    AboutBoxView(const AboutBoxView&) = delete;
    AboutBoxView& operator=(const AboutBoxView&) = delete;
};
