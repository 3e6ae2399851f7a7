#pragma once

#include "issuing/PageOutput.h"

// The page into a PDF file, written in one step: on failure there is no new
// file and an earlier one of the same name stays as it was.
class PdfFileOutput final : public PageOutput
{
public:
    explicit PdfFileOutput(QString filePath);

    // A folder that is not there, or a folder in the file's place.
    std::optional<Delivery> obstacle() const override;
    Delivery deliver(const PaymentOrderPage &page, const QString &documentName, const Departure &left) override;

private:
    QString m_filePath;
};
