#pragma once

#include "media/MediaBackend.h"

#include <QObject>

class MediaPlugin : public QObject, public MediaBackend
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID MediaBackend_iid)
    Q_INTERFACES(MediaBackend)
public:
    std::unique_ptr<CameraDevice> openCamera(QString *whyNot) override;
    QWidget *pdfView(const QByteArray &pdf, QString *whyNot) override;
    QWidget *mediaPlayer(const QString &path) override;
};
