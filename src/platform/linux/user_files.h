#pragma once
// What the Linux stores of the user's files share: an owned file descriptor, and the home folder.
#include <unistd.h>

#include <string>
#include <utility>

// A file descriptor, closed when the object goes.
class UniqueFd {
public:
    explicit UniqueFd(int fd) : m_Fd(fd) {}
    UniqueFd(UniqueFd&& other) noexcept : m_Fd(std::exchange(other.m_Fd, -1)) {}
    UniqueFd& operator=(UniqueFd&&) = delete;
    ~UniqueFd()
    {
        if (m_Fd >= 0) ::close(m_Fd);
    }
    int Get() const { return m_Fd; }
    // Closes now, reporting the result: a delayed write error shows up here.
    bool Close() { return ::close(std::exchange(m_Fd, -1)) == 0; }

private:
    int m_Fd;
};

// $HOME when it names an absolute folder, else the user's entry in the password database; empty
// when neither says.
std::string HomeDirectory();
