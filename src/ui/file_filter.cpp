#include "ui/file_filter.h"

#include <QStringList>

#include "ui/control_builder.h"

namespace vantel::ui {

QString qt_file_filter(std::string_view classic)
{
    const QStringList parts = to_qstring(classic).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = i + 1 < parts.size() ? parts[i + 1] : QString();
        if (patterns.isEmpty()) {
            if (!description.isEmpty()) filters << description;
            continue;
        }
        QStringList masks = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (auto& mask : masks) mask = mask.trimmed();
        filters << description + QStringLiteral(" (") + masks.join(QLatin1Char(' ')) + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

}  // namespace vantel::ui
