// The sound library's costs, run from build/bin (it plays the game's own sounds):
//   SDL_AUDIODRIVER=dummy ./bench_sound
// Mixer/N: CPU per second of audio with N looping effects through the manual output; its
// core_pct is the share of one core the mixing takes in real time (target: 32 under 1 %).
// StreamRefill: decoding one 16384-byte half of the game's music.
// Afterwards the same 32 looping effects play for a few seconds through our SDL output and
// through SDL2_mixer, both on the dummy driver, and the ratio of process CPU time is printed.
#include <cstdio>
#include <ctime>
#include <memory>
#include <vector>

#include <SDL.h>
#include <SDL_mixer.h>
#include <benchmark/benchmark.h>

#include "KSound.h"
#include "dsound.h"
#include "dsound_testing.h"

namespace {

// The game's effects, played in turn to make up N voices.
const char *const kEffects[] = {
    "data/audio/alienarrival.ogg", "data/audio/alienexplo.ogg",  "data/audio/bonusappear.ogg",
    "data/audio/changebg.ogg",     "data/audio/ching.ogg",       "data/audio/gotbonus.wav",
    "data/audio/herohit.ogg",      "data/audio/hitshell.ogg",    "data/audio/menuselect.ogg",
    "data/audio/scrollmenu.ogg",   "data/audio/shotennemy1.ogg", "data/audio/shothero.ogg",
    "data/audio/smartbomb.ogg",    "data/audio/validated.ogg",   "data/audio/welcomgame.ogg",
};
const int kEffectCount = int(sizeof kEffects / sizeof kEffects[0]);
const char kMusic[] = "data/audio/ingame.ogg";
const int kComparedVoices = 32;
const double kComparedSeconds = 3.0;

// N looping effects at assorted volumes and pans; empty when a file is missing.
std::vector<std::unique_ptr<KSound>> playLooping(int count) {
  std::vector<std::unique_ptr<KSound>> sounds;
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<KSound> sound(new KSound);
    if (!sound->loadSample(kEffects[i % kEffectCount], 40 + i % 60, true, 1)) return {};
    sound->setPan((i * 37) % 201 - 100);
    sound->playSample();
    sounds.push_back(std::move(sound));
  }
  return sounds;
}

void Mixer(benchmark::State &state) {
  auto sounds = playLooping(int(state.range(0)));
  if (sounds.empty()) {
    state.SkipWithError("the game's sounds are missing: run from build/bin");
    return;
  }
  const size_t kChunk = 1024; // one SDL period
  const size_t kChunks = 43;  // about a second of audio per iteration
  std::vector<int16_t> pcm(kChunk * 2);
  for (auto _ : state)
    for (size_t i = 0; i < kChunks; ++i) dsoundTestMix(pcm.data(), kChunk);
  double audioSeconds = double(kChunk * kChunks) / 44100.0;
  // CPU time over audio time, in percent of one core.
  state.counters["core_pct"] =
      benchmark::Counter(double(state.iterations()) * audioSeconds / 100.0,
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(Mixer)->Arg(8)->Arg(32)->Arg(64)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void StreamRefill(benchmark::State &state) {
  KSound music;
  if (!music.loadStream(kMusic)) {
    state.SkipWithError("the game's music is missing: run from build/bin");
    return;
  }
  // Looping, so the decoder starts again at the end. The manual output does not move the
  // cursor, so the refill thread only waits while the halves are filled from here.
  music.playStream(true);
  unsigned long half = 0;
  for (auto _ : state) {
    music.fillOggBuffer(half);
    half ^= 1;
  }
  music.stopStream();
}
BENCHMARK(StreamRefill)->Unit(benchmark::kMicrosecond);

double processSeconds() {
  timespec now;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Process CPU seconds spent while the output plays for kComparedSeconds.
double cpuWhilePlaying() {
  double before = processSeconds();
  SDL_Delay(Uint32(kComparedSeconds * 1000));
  return processSeconds() - before;
}

double ourCpu() {
  dsoundTestUseManualOutput(false);
  auto sounds = playLooping(kComparedVoices);
  if (sounds.empty()) return -1;
  return cpuWhilePlaying();
}

Uint64 gMixerFrames = 0; // frames SDL2_mixer produced, to show it really mixed

double sdlMixerCpu() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || Mix_OpenAudio(44100, AUDIO_S16SYS, 2, 1024) != 0)
    return -1;
  Mix_AllocateChannels(kComparedVoices);
  Mix_SetPostMix([](void *, Uint8 *, int bytes) { gMixerFrames += Uint64(bytes) / 4; }, nullptr);
  std::vector<Mix_Chunk *> chunks;
  for (int i = 0; i < kEffectCount; ++i) chunks.push_back(Mix_LoadWAV(kEffects[i]));
  double seconds = -1;
  bool loaded = true;
  for (Mix_Chunk *chunk : chunks) loaded = loaded && chunk;
  if (loaded) {
    for (int i = 0; i < kComparedVoices; ++i) {
      Mix_Volume(i, MIX_MAX_VOLUME * (40 + i % 60) / 100);
      int pan = (i * 37) % 201 - 100;
      Mix_SetPanning(i, Uint8(pan > 0 ? 255 - pan * 255 / 100 : 255),
                     Uint8(pan < 0 ? 255 + pan * 255 / 100 : 255));
      Mix_PlayChannel(i, chunks[size_t(i % kEffectCount)], -1);
    }
    seconds = cpuWhilePlaying();
  }
  Mix_HaltChannel(-1);
  for (Mix_Chunk *chunk : chunks) Mix_FreeChunk(chunk);
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return seconds;
}

} // namespace

int main(int argc, char **argv) {
  dsoundTestUseManualOutput(true);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();

  const char *driver = SDL_getenv("SDL_AUDIODRIVER");
  std::printf("\n%d looping effects for %.0f s on the \"%s\" audio driver:\n", kComparedVoices,
              kComparedSeconds, driver ? driver : "default");
  double ours = ourCpu();
  double theirs = sdlMixerCpu();
  if (ours < 0 || theirs <= 0) {
    std::printf("  could not play (no audio device, or run from build/bin)\n");
    return 1;
  }
  std::printf("  software DirectSound: %.3f s of CPU (%.2f %% of a core)\n", ours,
              100 * ours / kComparedSeconds);
  std::printf("  SDL2_mixer:           %.3f s of CPU (%.2f %% of a core, %llu frames mixed)\n",
              theirs, 100 * theirs / kComparedSeconds, (unsigned long long)gMixerFrames);
  std::printf("  ratio ours / SDL2_mixer: %.2f\n", ours / theirs);
  return 0;
}
