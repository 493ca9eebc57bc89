// The decoding state of one track chunk (internal to the reader).
#ifndef SEQSMITH_SMF_TRACK_READ_STATE_H_
#define SEQSMITH_SMF_TRACK_READ_STATE_H_

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class NoteEvent;

// The notes that wait for their note-off, per channel and note number, each
// queue first in, first out. The pointers do not own: every note belongs to
// its channel's event list from the moment it is created.
class PendingNotes {
 public:
  void push(int channel, std::uint8_t key, NoteEvent* note);
  // Takes the earliest pending note of the channel and key, or nullptr.
  NoteEvent* pop(int channel, std::uint8_t key);
  bool empty() const;

  struct Found {
    int channel;
    NoteEvent* note;
  };
  // The front note of the lowest note number of the lowest channel that
  // has one pending; channel -1 when nothing is pending.
  Found first() const;

 private:
  struct Queue {
    std::vector<NoteEvent*> notes;
    std::size_t head = 0;  // notes before head have been taken
    bool empty() const { return head == notes.size(); }
  };
  using ChannelQueues = std::array<Queue, 256>;

  std::array<std::unique_ptr<ChannelQueues>, 16> channels_;
  std::array<std::size_t, 16> pendingCount_{};
};

struct TrackReadState {
  explicit TrackReadState(PendingNotes& pending) : pendingNotes(pending) {}

  std::uint32_t tick = 0;          // sum of the delta times so far
  std::uint8_t runningStatus = 0;  // last channel status byte
  bool endOfTrack = false;
  // Kept by the parser across chunks: empty at the end of every chunk
  // that reads without error, so each chunk starts with no pending note.
  PendingNotes& pendingNotes;
  // Parameter number registers, shared by all channels of the chunk.
  std::uint8_t rpnLsb = 127;
  std::uint8_t rpnMsb = 127;
  std::uint8_t nrpnLsb = 127;
  std::uint8_t nrpnMsb = 127;
  bool rpnSelected = true;
};

#endif  // SEQSMITH_SMF_TRACK_READ_STATE_H_
