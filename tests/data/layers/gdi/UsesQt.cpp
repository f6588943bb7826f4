// Qt below the framework.
#include <QImage>
