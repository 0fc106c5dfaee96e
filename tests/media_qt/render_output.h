#pragma once
// Where the Qt tests keep the pictures they render: $TEST_OUTPUT_DIR when set, else the build's
// artifacts/media_qt/ folder.

#include <QImage>
#include <QString>

namespace testsupport {

// Saves Image as NAME.png there and answers the file's path (empty when it could not be saved).
QString SaveRender(const QImage& image, const QString& name);

}  // namespace testsupport
