// The rotating playlist.
#include "sound/TrackList.h"

#include <algorithm>
#include <iterator>

#include "trace/TraceSink.h"

namespace qa::sound {

void TrackList::traceStart(SoundObject* track, const char* action) {
    if (trace_) trace_->track(track->GetName(), action);
}

void TrackList::startFront() {
    if (tracks_.empty()) return;
    tracks_.front()->Prepare();
    traceStart(tracks_.front().get(), "play");
    tracks_.front()->Play(true);
    armNext();
}

void TrackList::advance() {
    if (tracks_.empty() || paused_) return;
    // A track that is alone follows itself: it plays again, but it has ended all the same.
    SoundObject* front = tracks_.front().get();
    if (front->IsPlaying() && !front->Followed()) return;
    tracks_.splice(tracks_.end(), tracks_, tracks_.begin());
    tracks_.front()->Prepare();
    traceStart(tracks_.front().get(), "play");
    tracks_.front()->Play(true);
    armNext();
}

void TrackList::moveToFront(SoundObject* track) {
    auto it = std::find_if(tracks_.begin(), tracks_.end(),
                           [track](const std::unique_ptr<SoundObject>& t) { return t.get() == track; });
    if (it != tracks_.end()) tracks_.splice(tracks_.begin(), tracks_, it);
    armNext();
}

void TrackList::setPaused(bool paused) {
    paused_ = paused;
    armNext();
}

void TrackList::replaceAll(std::list<std::unique_ptr<SoundObject>> tracks) {
    tracks_ = std::move(tracks);
    armNext();
}

void TrackList::armNext() {
    if (tracks_.empty()) return;
    SoundObject* front = tracks_.front().get();
    SoundObject* next = tracks_.size() > 1 ? std::next(tracks_.begin())->get() : front;
    // Only these two hold their sound: a folder of thousands of tracks costs two tracks' memory.
    front->Prepare();
    next->Prepare();
    for (auto it = std::next(tracks_.begin(), tracks_.size() > 1 ? 2 : 1); it != tracks_.end(); ++it)
        (*it)->Release();
    front->SetNext(paused_ ? nullptr : next);
}

std::list<std::unique_ptr<SoundObject>> TrackList::takeAll() {
    std::list<std::unique_ptr<SoundObject>> all;
    all.swap(tracks_);
    return all;
}

void TrackList::destroyAll() {
    std::list<std::unique_ptr<SoundObject>> all;
    all.swap(tracks_);
    for (std::unique_ptr<SoundObject>& t : all) t.reset();
    paused_ = false;
}

}  // namespace qa::sound
