// DirectDraw and DirectSound in one file: they share the Windows types, so their results go
// through the same FAILED, and a sound buffer is described by a WAV file's own format bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "ddraw.h"
#include "dsound.h"

namespace {

TEST(WindowsTypes, BothStandInsReportFailuresThroughOneTest) {
  EXPECT_TRUE(FAILED(DDERR_SURFACELOST));
  EXPECT_TRUE(FAILED(DSERR_INVALIDPARAM));
  EXPECT_TRUE(SUCCEEDED(DD_OK));
  EXPECT_FALSE(FAILED(DS_OK));
  // Windows's widths, not the host's long: a DWORD holds a 32-bit pitch or byte count exactly.
  DWORD wrapped = 0xFFFFFFFFu;
  wrapped += 1;
  EXPECT_EQ(wrapped, 0u);
}

TEST(WindowsTypes, AWavFormatChunkDescribesASoundBufferAndASurfaceOpensBeside) {
  // The 18-byte body of a "fmt " chunk: PCM, 2 channels, 22050 Hz, 88200 bytes/s, 4, 16 bits.
  const unsigned char chunk[18] = {1,    0,    2, 0, 0x22, 0x56, 0, 0, 0x88,
                                   0x58, 0x01, 0, 4, 0,    16,   0, 0, 0};
  WAVEFORMATEX format;
  ASSERT_EQ(sizeof format, sizeof chunk);
  std::memcpy(&format, chunk, sizeof chunk);
  EXPECT_EQ(format.nSamplesPerSec, 22050u);
  EXPECT_EQ(format.nAvgBytesPerSec, 88200u);
  EXPECT_EQ(format.wBitsPerSample, 16);

  IDirectSound *sound = nullptr;
  ASSERT_EQ(DirectSoundCreate(nullptr, &sound, nullptr), DS_OK);
  DSBUFFERDESC desc{20, DSBCAPS_CTRLVOLUME, 4096, 0, &format};
  IDirectSoundBuffer *buffer = nullptr;
  ASSERT_EQ(sound->CreateSoundBuffer(&desc, &buffer, nullptr), DS_OK);
  DSBCAPS caps{sizeof(DSBCAPS), 0, 0};
  ASSERT_EQ(buffer->GetCaps(&caps), DS_OK);
  EXPECT_EQ(caps.dwBufferBytes, 4096u);
  format.wBitsPerSample = 12; // not a PCM width DirectSound takes
  IDirectSoundBuffer *refused = nullptr;
  EXPECT_TRUE(FAILED(sound->CreateSoundBuffer(&desc, &refused, nullptr)));

  IDirectDraw7 *draw = nullptr;
  ASSERT_TRUE(SUCCEEDED(DirectDrawCreateEx(nullptr, (void **)&draw, IID_IDirectDraw7, nullptr)));
  DDSURFACEDESC2 surface{};
  surface.dwSize = sizeof surface;
  surface.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
  surface.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN;
  surface.dwWidth = surface.dwHeight = 8;
  IDirectDrawSurface7 *plain = nullptr;
  EXPECT_TRUE(SUCCEEDED(draw->CreateSurface(&surface, &plain, nullptr)));
  if (plain) plain->Release();
  draw->Release();
  buffer->Release();
  sound->Release();
}

} // namespace
