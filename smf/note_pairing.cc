// Pairing of note-on and note-off messages into notes with a duration.
#include "events/diagnostics.h"
#include "smf/smf_parser.h"
#include "smf/track_read_state.h"

void PendingNotes::push(int channel, std::uint8_t key, NoteEvent* note) {
  auto& queues = channels_[static_cast<std::size_t>(channel)];
  if (!queues) queues = std::make_unique<ChannelQueues>();
  (*queues)[key].notes.push_back(note);
  ++pendingCount_[static_cast<std::size_t>(channel)];
}

NoteEvent* PendingNotes::pop(int channel, std::uint8_t key) {
  auto& queues = channels_[static_cast<std::size_t>(channel)];
  if (!queues) return nullptr;
  Queue& queue = (*queues)[key];
  if (queue.empty()) return nullptr;
  NoteEvent* note = queue.notes[queue.head++];
  if (queue.empty()) {
    queue.notes.clear();
    queue.head = 0;
  } else if (queue.head > 64 && queue.head * 2 > queue.notes.size()) {
    queue.notes.erase(
        queue.notes.begin(),
        queue.notes.begin() + static_cast<std::ptrdiff_t>(queue.head));
    queue.head = 0;
  }
  --pendingCount_[static_cast<std::size_t>(channel)];
  return note;
}

bool PendingNotes::empty() const { return first().channel < 0; }

PendingNotes::Found PendingNotes::first() const {
  for (std::size_t channel = 0; channel < channels_.size(); ++channel) {
    if (pendingCount_[channel] == 0) continue;
    for (const Queue& queue : *channels_[channel]) {
      if (!queue.empty()) {
        return {static_cast<int>(channel), queue.notes[queue.head]};
      }
    }
  }
  return {-1, nullptr};
}

void SmfParser::noteOn(TrackReadState& state, int channel, std::uint8_t key,
                       std::uint8_t velocity) {
  auto note = Event::create<NoteEvent>(pool_, state.tick, key, velocity);
  NoteEvent* pending = note.get();
  channels[static_cast<std::size_t>(channel)].events.append(std::move(note));
  state.pendingNotes.push(channel, key, pending);
}

void SmfParser::noteOff(TrackReadState& state, int channel, std::uint8_t key) {
  NoteEvent* note = state.pendingNotes.pop(channel, key);
  if (note == nullptr) {
    throw ChannelEventException("Unmatch Note Off Event", channel, state.tick);
  }
  note->end(state.tick);
}

void SmfParser::checkPendingNotes(const TrackReadState& state) {
  const PendingNotes::Found found = state.pendingNotes.first();
  if (found.channel >= 0) {
    throw ChannelEventException("Unmatch Note On Event", found.channel,
                                found.note->tick);
  }
}
