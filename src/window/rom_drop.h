// Dropping a ROM file on a window: a drag that carries exactly one local
// file that is not a folder is accepted; anything else is refused before it
// is dropped. The drop is handed on once the drag has ended, so that the
// questions opening a ROM may ask do not keep the file manager waiting.
#pragma once

#include <QString>
#include <functional>

class QMimeData;
class QWidget;

namespace tessel {

// The path of the one ROM file `data` carries; empty when it carries
// anything else (several files, a folder, text, a remote address).
QString droppedRomPath(const QMimeData* data);

// Makes `window` accept ROM drops and call `open` with the dropped path.
void acceptRomDrops(QWidget* window, std::function<void(const QString&)> open);

} // namespace tessel
