#include "game/screens/TeamNameImage.h"

#include "game/ResourceIds.h"

namespace Kelvane {

int32_t teamNameImage(int teamId, bool large) {
    // By nation id: France, Brazil, Germany, England, Argentina, Spain, USA; then Italy.
    static constexpr int32_t kLarge[] = {Res::IMAGE_FRANCE_NAME,    Res::IMAGE_BRAZIL_NAME,
                                         Res::IMAGE_GERMANY_NAME,   Res::IMAGE_ENGLAND_NAME,
                                         Res::IMAGE_ARGENTINA_NAME, Res::IMAGE_SPAIN_NAME,
                                         Res::IMAGE_USA_NAME,       Res::IMAGE_ITALY_NAME};
    static constexpr int32_t kSmall[] = {
        Res::IMAGE_FRANCE_NAME_SMALL,    Res::IMAGE_BRAZIL_NAME_SMALL,
        Res::IMAGE_GERMANY_NAME_SMALL,   Res::IMAGE_ENGLAND_NAME_SMALL,
        Res::IMAGE_ARGENTINA_NAME_SMALL, Res::IMAGE_SPAIN_NAME_SMALL,
        Res::IMAGE_USA_NAME_SMALL,       Res::IMAGE_ITALY_NAME_SMALL};
    const int index = teamId >= 0 && teamId <= 6 ? teamId : 7;
    return large ? kLarge[index] : kSmall[index];
}

}  // namespace Kelvane
