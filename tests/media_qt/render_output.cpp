#include "tests/media_qt/render_output.h"

#include <QDir>

namespace testsupport {

QString SaveRender(const QImage& image, const QString& name) {
  QString folder = qEnvironmentVariable("TEST_OUTPUT_DIR");
  if (folder.isEmpty()) folder = QStringLiteral(ORVELLO_RENDER_ARTIFACTS);
  if (!QDir().mkpath(folder)) return {};
  const QString path = QDir(folder).filePath(name + ".png");
  return image.save(path, "PNG") ? path : QString();
}

}  // namespace testsupport
