#include "ConverterTestSupport.h"

#include "os/MainThread.h"
#include "os/Thread.h"

namespace convtest {

void Recorder::Attach(media::TCustomFFmpegConverter& AConverter) {
    AConverter.SetOnTerminate([this](os::TObject*, const media::TTerminateInfo& AInfo) {
        std::lock_guard<std::mutex> g(m_);
        records_.push_back({AInfo, os::CurrentThreadId()});
        if (AInfo.TaskIndex == -1) final_ = true;
    });
}

void Recorder::WaitFinal() {
    for (;;) {
        {
            std::lock_guard<std::mutex> g(m_);
            if (final_) return;
        }
        os::CheckSynchronize(5);
    }
}

std::vector<Record> Recorder::Records() {
    std::lock_guard<std::mutex> g(m_);
    return records_;
}

std::vector<int> Recorder::Order() {
    std::vector<int> order;
    for (const Record& r : Records()) order.push_back(r.info.TaskIndex);
    return order;
}

fixtures::TempFolder& Folder() {
    static fixtures::TempFolder folder("converter");
    return folder;
}

const std::string& SourceClip() {
    static const std::string path = [] {
        fixtures::LoadMediaLibraries();
        fixtures::ClipOptions o;
        o.kind = fixtures::ClipKind::Mpg;
        o.seconds = 2.0;
        o.width = 160;
        o.height = 120;
        return fixtures::MakeClip(Folder(), o);
    }();
    return path;
}

} // namespace convtest
