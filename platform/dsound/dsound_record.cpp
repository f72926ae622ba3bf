// The call log of scripted tests.
#include "dsound_internal.h"

namespace {

std::atomic<bool> gRecording{false};
std::mutex gRecordMutex;
std::vector<DsRecord> gRecords;

} // namespace

void dsoundRecordCall(DsCall call, const IDirectSoundBuffer *buffer, long value) {
  if (!gRecording) return;
  std::lock_guard<std::mutex> lock(gRecordMutex);
  gRecords.push_back(DsRecord{call, buffer, value});
}

void dsoundTestRecord(bool on) { gRecording = on; }

std::vector<DsRecord> dsoundTestTakeRecords() {
  std::lock_guard<std::mutex> lock(gRecordMutex);
  std::vector<DsRecord> taken;
  taken.swap(gRecords);
  return taken;
}
