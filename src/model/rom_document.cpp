#include "model/rom_document.h"

#include <algorithm>

namespace tessel {

bool RomDocument::addObserver(DocumentObserver* observer)
{
    if (!observer || std::find(observers_.begin(), observers_.end(), observer) != observers_.end())
        return false;
    auto free = std::find(observers_.begin(), observers_.end(), nullptr);
    if (free == observers_.end()) return false;
    *free = observer;
    return true;
}

void RomDocument::removeObserver(DocumentObserver* observer)
{
    std::replace(observers_.begin(), observers_.end(), observer, static_cast<DocumentObserver*>(nullptr));
}

} // namespace tessel
