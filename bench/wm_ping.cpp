// Asks a window "are you still there?" as a desktop does (the _NET_WM_PING message of the
// window manager protocols), every 20 ms for a number of seconds, and prints the longest time
// one question waited for its answer; a question still unanswered counts for as long as it
// has waited. GNOME offers to kill a window that has not answered for 5 s.
//
// Usage: wm_ping WINDOW SECONDS   (WINDOW as X11 id, e.g. from `xprop -root _NET_CLIENT_LIST`;
// DISPLAY says which X server)
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

xcb_atom_t atomNamed(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(connection,
                              xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

double msSince(Clock::time_point then)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - then).count();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: wm_ping WINDOW SECONDS\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    const double seconds = std::atof(argv[2]);
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection)) {
        std::fprintf(stderr, "wm_ping: cannot reach the X server\n");
        return 1;
    }
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    // The answer comes to the root window, to whoever listens for its structure changes.
    const uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, screen->root, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = atomNamed(connection, "WM_PROTOCOLS");
    const xcb_atom_t ping = atomNamed(connection, "_NET_WM_PING");

    std::map<uint32_t, Clock::time_point> unanswered;
    const Clock::time_point start = Clock::now();
    double longest = 0;
    uint32_t sent = 0;
    uint32_t answered = 0;
    while (msSince(start) < seconds * 1000) {
        xcb_client_message_event_t question{};
        question.response_type = XCB_CLIENT_MESSAGE;
        question.format = 32;
        question.window = window;
        question.type = protocols;
        question.data.data32[0] = ping;
        question.data.data32[1] = ++sent;
        question.data.data32[2] = window;
        unanswered[sent] = Clock::now();
        xcb_send_event(connection, 0, window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char *>(&question));
        xcb_flush(connection);
        const Clock::time_point next = Clock::now() + std::chrono::milliseconds(20);
        while (Clock::now() < next) {
            xcb_generic_event_t *event = xcb_poll_for_event(connection);
            if (!event) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
                continue;
            }
            if ((event->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                const auto *answer = reinterpret_cast<xcb_client_message_event_t *>(event);
                const auto found = unanswered.find(answer->data.data32[1]);
                if (answer->data.data32[0] == ping && found != unanswered.end()) {
                    longest = std::max(longest, msSince(found->second));
                    unanswered.erase(found);
                    ++answered;
                }
            }
            std::free(event);
        }
        if (!unanswered.empty())
            longest = std::max(longest, msSince(unanswered.begin()->second));
    }
    std::printf("%u questions, %u answered, longest wait %.0f ms\n", sent, answered, longest);
    xcb_disconnect(connection);
    return 0;
}
