#include "render/text_effect.h"

#include "settings/app_settings.h"

void drawEffectSequence(int drawType, Colour outlineColor, Colour mainColor,
                        const SetTextColour& setColour, const DrawAt& draw, int offset) {
  const int d = offset;
  if (drawType == static_cast<int>(DrawType::Shadow)) {
    setColour(0);
    draw(d, d);
  } else if (drawType == static_cast<int>(DrawType::Outline)) {
    setColour(outlineColor);
    draw(-d, 0);
    draw(0, -d);
    draw(d, 0);
    draw(0, d);
  }
  setColour(mainColor);
  draw(0, 0);
}
