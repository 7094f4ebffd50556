#include "render/text_effect.h"

#include "settings/app_settings.h"

void drawEffectSequence(int drawType, Colour outlineColor, Colour mainColor,
                        const SetTextColour& setColour, const DrawAt& draw) {
  if (drawType == static_cast<int>(DrawType::Shadow)) {
    setColour(0);
    draw(1, 1);
  } else if (drawType == static_cast<int>(DrawType::Outline)) {
    setColour(outlineColor);
    draw(-1, 0);
    draw(0, -1);
    draw(1, 0);
    draw(0, 1);
  }
  setColour(mainColor);
  draw(0, 0);
}
