#include "shell/ChangeNotifier.h"

#include "os/MainThread.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <map>
#include <mutex>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace shell {

// What the GUI thread's posted call needs; outlives the notifier when a
// call is still queued.
struct ChangeNotifier::Shared {
    std::function<void()> onChange;
    std::atomic<bool> alive{true};
    std::atomic<bool> pending{false};
};

namespace {

constexpr uint32_t kNames =
    IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;
// Sub-trees are watched up to these bounds, so a watch on a huge tree
// cannot exhaust the user's inotify watches.
constexpr int kMaxDepth = 32;
constexpr size_t kMaxWatches = 4096;

uint32_t MaskOf(DWORD filter) {
    uint32_t m = 0;
    if (filter & (FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME)) m |= kNames;
    if (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)) m |= IN_ATTRIB;
    if (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)) m |= IN_MODIFY | IN_CLOSE_WRITE;
    return m;
}

bool Matches(uint32_t mask, DWORD filter) {
    if (mask & kNames) {
        bool dir = mask & IN_ISDIR;
        if (filter & (dir ? FILE_NOTIFY_CHANGE_DIR_NAME : FILE_NOTIFY_CHANGE_FILE_NAME)) return true;
    }
    if ((mask & IN_ATTRIB) && (filter & (FILE_NOTIFY_CHANGE_ATTRIBUTES | FILE_NOTIFY_CHANGE_SECURITY)))
        return true;
    if ((mask & (IN_MODIFY | IN_CLOSE_WRITE)) &&
        (filter & (FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE)))
        return true;
    return false;
}

// One armed watch: an inotify descriptor and the folders it covers.
struct Watch {
    int fd = -1;
    bool subTree = false;
    DWORD filter = 0;
    dev_t device = 0;
    std::map<int, std::string> folders; // watch descriptor -> path

    Watch() = default;
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    ~Watch() {
        if (fd >= 0) ::close(fd);
    }

    // The watched folder itself may be reached through a link; the folders
    // below it are not followed, so a link to an ancestor is no loop.
    bool Add(const std::string& path, bool follow = false) {
        if (folders.size() >= kMaxWatches) return false;
        int wd = ::inotify_add_watch(fd, path.c_str(),
                                     MaskOf(filter) | IN_ONLYDIR | (follow ? 0 : IN_DONT_FOLLOW) |
                                         (subTree ? IN_CREATE | IN_MOVED_TO : 0));
        if (wd < 0) return false;
        folders[wd] = path;
        return true;
    }

    // Folders below path, without following links or leaving the volume.
    void AddTree(const std::string& path, int depth) {
        if (depth > kMaxDepth) return;
        DIR* d = ::opendir(path.c_str());
        if (!d) return;
        std::vector<std::string> subs;
        while (dirent* e = ::readdir(d)) {
            if (!std::strcmp(e->d_name, ".") || !std::strcmp(e->d_name, "..")) continue;
            if (e->d_type != DT_DIR && e->d_type != DT_UNKNOWN) continue;
            std::string sub = path + (path == "/" ? "" : "/") + e->d_name;
            struct stat st {};
            if (::lstat(sub.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_dev != device) continue;
            subs.push_back(sub);
        }
        ::closedir(d);
        for (const std::string& s : subs)
            if (Add(s)) AddTree(s, depth + 1);
    }
};

std::unique_ptr<Watch> Arm(const std::string& dir, bool subTree, DWORD filter) {
    if (dir.empty() || MaskOf(filter) == 0) return nullptr;
    auto w = std::make_unique<Watch>();
    w->fd = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    w->subTree = subTree;
    w->filter = filter;
    struct stat st {};
    if (w->fd < 0 || ::stat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return nullptr;
    w->device = st.st_dev;
    if (!w->Add(dir, true)) return nullptr;
    if (subTree) w->AddTree(dir, 1);
    return w;
}

} // namespace

struct ChangeNotifier::Worker {
    int wake = -1; // eventfd: new settings or stop
    std::mutex m;
    std::unique_ptr<Watch> next; // settings waiting for the worker
    bool stop = false;
    std::thread thread;

    ~Worker() {
        if (wake >= 0) ::close(wake);
    }

    void Signal() const {
        uint64_t one = 1;
        ssize_t n = ::write(wake, &one, sizeof one);
        (void)n;
    }

    void Run(std::unique_ptr<Watch> watch, const std::shared_ptr<Shared>& shared) {
        alignas(inotify_event) char buf[16384];
        for (;;) {
            pollfd fds[2] = {
                {wake,      POLLIN, 0},
                {watch->fd, POLLIN, 0},
            };
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return; // a failed wait ends the worker
            }
            if (fds[0].revents) {
                uint64_t count;
                ssize_t n = ::read(wake, &count, sizeof count);
                (void)n;
                std::lock_guard<std::mutex> lock(m);
                if (stop) return;
                if (next) watch = std::move(next);
                continue;
            }
            bool changed = false;
            for (;;) {
                ssize_t n = ::read(watch->fd, buf, sizeof buf);
                if (n <= 0) break;
                for (char* p = buf; p < buf + n;) {
                    auto* e = reinterpret_cast<inotify_event*>(p);
                    p += sizeof(inotify_event) + e->len;
                    if (e->mask & IN_IGNORED) {
                        watch->folders.erase(e->wd);
                        continue;
                    }
                    if (e->mask & IN_Q_OVERFLOW) {
                        changed = true;
                        continue;
                    }
                    auto folder = watch->folders.find(e->wd);
                    // New folders join the watched tree as they appear.
                    if (watch->subTree && (e->mask & IN_ISDIR) && (e->mask & (IN_CREATE | IN_MOVED_TO)) &&
                        folder != watch->folders.end() && e->len) {
                        std::string sub = folder->second + (folder->second == "/" ? "" : "/") + e->name;
                        if (watch->Add(sub)) watch->AddTree(sub, 1);
                    }
                    if (Matches(e->mask, watch->filter)) changed = true;
                }
            }
            if (changed && !shared->pending.exchange(true)) {
                std::shared_ptr<Shared> s = shared;
                os::PostInMainThread([s] {
                    s->pending = false;
                    if (s->alive) s->onChange();
                });
            }
        }
    }
};

ChangeNotifier::ChangeNotifier(std::function<void()> onChange) : onChange_(std::move(onChange)) {}

ChangeNotifier::~ChangeNotifier() {
    Stop();
}

bool ChangeNotifier::SetDirectoryOptions(const std::string& dir, bool watchSubTree, DWORD filter) {
    std::unique_ptr<Watch> watch = Arm(dir, watchSubTree, filter);
    if (!watch) {
        Stop();
        return false;
    }
    if (worker_) {
        std::lock_guard<std::mutex> lock(worker_->m);
        worker_->next = std::move(watch);
        worker_->Signal();
        return true;
    }
    auto w = std::make_unique<Worker>();
    w->wake = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (w->wake < 0) return false;
    shared_ = std::make_shared<Shared>();
    shared_->onChange = onChange_;
    Worker* raw = w.get();
    std::shared_ptr<Shared> shared = shared_;
    w->thread = std::thread(
        [raw, shared, watch = std::move(watch)]() mutable { raw->Run(std::move(watch), shared); });
    worker_ = std::move(w);
    return true;
}

void ChangeNotifier::Stop() {
    if (shared_) shared_->alive = false;
    if (!worker_) return;
    {
        std::lock_guard<std::mutex> lock(worker_->m);
        worker_->stop = true;
        worker_->Signal();
    }
    if (worker_->thread.joinable()) worker_->thread.join();
    worker_.reset();
}

bool ChangeNotifier::Running() const {
    return worker_ != nullptr;
}

} // namespace shell
