// Showing a picture through an SDL renderer at the window's size, as the scaling says: sharp
// scaling draws the picture at a whole multiple with nearest pixels into a stage texture, then
// the stage smoothly reduced to the size shown.
#include <SDL.h>

#include "host_scale.h"

namespace {

// The stage texture of the size asked for, made or remade; null when the renderer cannot draw
// into textures.
SDL_Texture *stageOfSize(SDL_Renderer *renderer, SDL_Texture **stage, int w, int h) {
  int haveW = 0, haveH = 0;
  if (*stage && SDL_QueryTexture(*stage, nullptr, nullptr, &haveW, &haveH) == 0 && haveW == w &&
      haveH == h)
    return *stage;
  if (*stage) SDL_DestroyTexture(*stage);
  *stage = nullptr;
  if (SDL_RenderTargetSupported(renderer))
    *stage = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_TARGET, w, h);
  return *stage;
}

// The picture enlarged to multiple x its size in the stage, with nearest pixels; the texture
// to reduce from (the picture itself when no stage can be had).
SDL_Texture *enlarged(SDL_Renderer *renderer, SDL_Texture *picture, int pictureW, int pictureH,
                      int multiple, SDL_Texture **stage) {
  SDL_Texture *target = stageOfSize(renderer, stage, pictureW * multiple, pictureH * multiple);
  if (!target || SDL_SetRenderTarget(renderer, target) != 0) return picture;
  SDL_SetTextureScaleMode(picture, SDL_ScaleModeNearest);
  SDL_RenderCopy(renderer, picture, nullptr, nullptr);
  SDL_SetRenderTarget(renderer, nullptr);
  return target;
}

} // namespace

void hostRenderScaled(SDL_Renderer *renderer, SDL_Texture *picture, int pictureW, int pictureH,
                      SDL_Texture **stage) {
  int outputW = pictureW, outputH = pictureH;
  SDL_GetRendererOutputSize(renderer, &outputW, &outputH);
  HostRect shown = hostPictureRect(outputW, outputH, pictureW, pictureH, hostScaling());
  int multiple = hostSharpMultiple(shown, pictureW, pictureH);
  SDL_Texture *from = picture;
  if (hostWholeMultiple(shown, pictureW, pictureH)) {
    SDL_SetTextureScaleMode(picture, SDL_ScaleModeNearest);
  } else {
    if (multiple > 1) from = enlarged(renderer, picture, pictureW, pictureH, multiple, stage);
    SDL_SetTextureScaleMode(from, SDL_ScaleModeLinear);
  }
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer); // the bars
  SDL_Rect to = {shown.x, shown.y, shown.w, shown.h};
  SDL_RenderCopy(renderer, from, nullptr, &to);
}
