#pragma once
// Lets a test running as root meet file permissions as any other user does: while it
// lives, the calling thread works without the capabilities that let root write into
// read-only folders (CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH). They stay permitted, so
// they come back when it goes. For other users it changes nothing.

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace pavix::testsupport {

class WithoutFileOverride {
public:
    WithoutFileOverride()
    {
        m_header.version = _LINUX_CAPABILITY_VERSION_3;
        m_header.pid = 0;
        if (::syscall(SYS_capget, &m_header, m_saved) != 0)
            return;
        __user_cap_data_struct reduced[2] = {m_saved[0], m_saved[1]};
        reduced[0].effective &= ~((1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH));
        m_dropped = ::syscall(SYS_capset, &m_header, reduced) == 0;
    }
    ~WithoutFileOverride()
    {
        if (m_dropped)
            ::syscall(SYS_capset, &m_header, m_saved);
    }
    WithoutFileOverride(const WithoutFileOverride &) = delete;
    WithoutFileOverride &operator=(const WithoutFileOverride &) = delete;

private:
    __user_cap_header_struct m_header{};
    __user_cap_data_struct m_saved[2]{};
    bool m_dropped = false;
};

} // namespace pavix::testsupport
