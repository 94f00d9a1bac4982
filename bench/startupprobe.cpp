// Preloaded into the program being measured (LD_PRELOAD): writes one line to
// the file named by ZELK_PROBE_LOG each time the X server reports one of its
// windows mapped ("map"), and once when it first puts pixels on the screen
// ("paint"), with the wall-clock time in microseconds and the resident memory
// in KiB at that moment. The launcher takes its own clock reading just before
// it starts the program, so both programs pay the same for being measured.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" {
struct xcb_connection_t;
struct xcb_generic_event_t
{
    uint8_t response_type;
};
struct xcb_void_cookie_t
{
    unsigned int sequence;
};
}

namespace {

constexpr uint8_t mapNotify = 19;
constexpr uint8_t sentEventBit = 0x80;
constexpr long microsPerSecond = 1000000;
constexpr long nanosPerMicro = 1000;

long residentKiB()
{
    char text[128] = {};
    const int fd = open("/proc/self/statm", O_RDONLY);
    if (fd < 0)
        return 0;
    const ssize_t length = read(fd, text, sizeof text - 1);
    close(fd);
    if (length <= 0)
        return 0;
    long size = 0;
    long resident = 0;
    if (std::sscanf(text, "%ld %ld", &size, &resident) != 2)
        return 0;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void note(const char *what)
{
    const char *path = std::getenv("ZELK_PROBE_LOG");
    if (!path)
        return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    const long long micros
        = static_cast<long long>(now.tv_sec) * microsPerSecond + now.tv_nsec / nanosPerMicro;
    char line[96];
    const int length = std::snprintf(line, sizeof line, "%s %lld %ld\n", what, micros, residentKiB());
    const int fd = open(path, O_WRONLY | O_APPEND | O_CREAT, 0644);
    if (fd < 0)
        return;
    if (write(fd, line, length) != length)
        std::perror("startupprobe");
    close(fd);
}

xcb_generic_event_t *seen(xcb_generic_event_t *event)
{
    if (event && (event->response_type & ~sentEventBit) == mapNotify)
        note("map");
    return event;
}

// Qt's X11 plugin is opened with RTLD_LOCAL, so its libraries are not in the
// global scope that RTLD_NEXT searches; by then they are loaded, though.
template<typename Function> Function next(const char *library, const char *name)
{
    void *handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    return reinterpret_cast<Function>(dlsym(handle ? handle : RTLD_NEXT, name));
}

} // namespace

extern "C" {

xcb_generic_event_t *xcb_wait_for_event(xcb_connection_t *connection)
{
    static const auto real
        = next<xcb_generic_event_t *(*)(xcb_connection_t *)>("libxcb.so.1", "xcb_wait_for_event");
    return seen(real(connection));
}

xcb_generic_event_t *xcb_poll_for_event(xcb_connection_t *connection)
{
    static const auto real
        = next<xcb_generic_event_t *(*)(xcb_connection_t *)>("libxcb.so.1", "xcb_poll_for_event");
    return seen(real(connection));
}

xcb_generic_event_t *xcb_poll_for_queued_event(xcb_connection_t *connection)
{
    static const auto real
        = next<xcb_generic_event_t *(*)(xcb_connection_t *)>("libxcb.so.1", "xcb_poll_for_queued_event");
    return seen(real(connection));
}

// Qt's backing store hands every frame to the X server through shared memory.
xcb_void_cookie_t xcb_shm_put_image(xcb_connection_t *connection, uint32_t drawable, uint32_t gc,
                                    uint16_t totalWidth, uint16_t totalHeight, uint16_t sourceX,
                                    uint16_t sourceY, uint16_t sourceWidth, uint16_t sourceHeight,
                                    int16_t targetX, int16_t targetY, uint8_t depth, uint8_t format,
                                    uint8_t sendEvent, uint32_t segment, uint32_t offset)
{
    using PutImage = xcb_void_cookie_t (*)(xcb_connection_t *, uint32_t, uint32_t, uint16_t, uint16_t,
                                           uint16_t, uint16_t, uint16_t, uint16_t, int16_t, int16_t, uint8_t,
                                           uint8_t, uint8_t, uint32_t, uint32_t);
    static const auto real = next<PutImage>("libxcb-shm.so.0", "xcb_shm_put_image");
    static std::atomic<bool> painted{false};
    if (!painted.exchange(true))
        note("paint");
    return real(connection, drawable, gc, totalWidth, totalHeight, sourceX, sourceY, sourceWidth,
                sourceHeight, targetX, targetY, depth, format, sendEvent, segment, offset);
}
}
