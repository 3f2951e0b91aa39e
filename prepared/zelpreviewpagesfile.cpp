// The prepared pages: the "zp3" file format.
#include "prepared/zelpreviewpagesprivate.h"

using namespace zelpages;

// Files.

void TzelPreviewPages::WriteReportSection()
{
    TzelXMLItem *section = Section(kReport);
    section->Clear();
    if (!FReport)
        return;
    TzelXMLItem *item = section->Add(FReport->ClassName());
    item->SetProp(QStringLiteral("DotMatrixReport"), FReport->DotMatrixReport ? QStringLiteral("True")
                                                                              : QStringLiteral("False"));
    item->SetProp(QStringLiteral("PreviewOptions.OutlineVisible"),
                  FReport->PreviewOptions().OutlineVisible ? QStringLiteral("True") : QStringLiteral("False"));
    item->SetProp(QStringLiteral("PreviewOptions.OutlineWidth"),
                  QString::number(FReport->PreviewOptions().OutlineWidth));
    item->SetProp(QStringLiteral("ReportOptions.Name"), FReport->ReportOptions().Name);
}

// Only these four settings travel with a prepared report: a file must not
// be able to set anything else on the report that opens it.
void TzelPreviewPages::ReadReportSection()
{
    const TzelXMLItem *section = ExistingSection(kReport);
    if (!FReport || !section || section->Count() == 0)
        return;
    const TzelXMLItem *item = section->Items(0);
    auto flag = [item](const QString &name, bool &value) {
        if (!item->PropExists(name))
            return;
        const QString text = zelAttr(item, name);
        value = text.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0 || text == u"1";
    };
    flag(QStringLiteral("DotMatrixReport"), FReport->DotMatrixReport);
    flag(QStringLiteral("PreviewOptions.OutlineVisible"), FReport->PreviewOptions().OutlineVisible);
    bool ok;
    const int width = zelAttr(item, QStringLiteral("PreviewOptions.OutlineWidth")).toInt(&ok);
    if (ok)
        FReport->PreviewOptions().OutlineWidth = width;
    if (item->PropExists(QStringLiteral("ReportOptions.Name")))
        FReport->ReportOptions().Name = zelAttr(item, QStringLiteral("ReportOptions.Name"));
}

void TzelPreviewPages::ReadSourcePages(TzelSortedStrings &errors)
{
    TzelXMLItem *section = ExistingSection(kSourcePages);
    if (!section)
        return;
    for (int j = 0; j < section->Count(); ++j) {
        TzelXMLItem *item = section->Items(j);
        TzelReportPage *page = newPageOfClass(item->Name());
        FSourcePages.append(page);
        FSourceTemplates.append(nullptr);
        TzelXMLSerializer serializer;
        serializer.ReadRootComponent(page, item);
        for (const QString &error : serializer.Errors.Items())
            errors.Add(error);
        ComputeReferenceTexts(page);
    }
    section->Clear();
}

void TzelPreviewPages::ReadDictionary()
{
    TzelXMLItem *section = ExistingSection(kDictionary);
    if (!section)
        return;
    for (int j = 0; j < section->Count(); ++j) {
        const TzelXMLItem *item = section->Items(j);
        const QString sourceName = zelAttr(item, QStringLiteral("name"));
        const qsizetype dot = sourceName.indexOf(u'.');
        if (dot < 0 || !sourceName.startsWith(QStringLiteral("Page")))
            continue;
        bool ok;
        const int page = QStringView(sourceName).mid(4, dot - 4).toInt(&ok);
        if (!ok || page < 0 || page >= FSourcePages.size())
            continue;
        TzelComponent *obj = FSourcePages.at(page)->FindObject(sourceName.mid(dot + 1));
        if (!obj)
            continue;
        FDictionary.Add(item->Name(), sourceName, obj);
        obj->AliasName = item->Name();
    }
    section->Clear();
}

void TzelPreviewPages::SaveToStream(QIODevice *stream)
{
    WriteReportSection();
    TzelXMLItem *sources = Section(kSourcePages);
    sources->Clear();
    for (TzelReportPage *page : std::as_const(FSourcePages)) {
        TzelXMLSerializer serializer;
        TzelXMLItem *item = sources->Add();
        serializer.WriteRootComponent(page, true, item);
        WriteRootName(item, page);
    }
    TzelXMLItem *dictionary = Section(kDictionary);
    dictionary->Clear();
    FDictionary.ForEach([dictionary](const QString &name, const QString &sourceName) {
        dictionary->Add(name)->SetProp(QStringLiteral("name"), sourceName);
    });
    FPictureCache->SaveToXML(Section(kPictureCache));
    FPostProcessor->SaveToXML(Section(kPostProcessing));
    delete ExistingSection(kCutted);

    // The written sections are made anew on every save; only the pages,
    // outline, anchors and numbers live in the tree.
    struct Drop
    {
        TzelPreviewPages *pages;
        ~Drop()
        {
            for (const QString &name : {kSourcePages, kDictionary, kPictureCache, kPostProcessing})
                pages->Section(name)->Clear();
        }
    } drop{this};

    std::unique_ptr<TzelCustomCompressor> compressor;
    if (FReport && FReport->ReportOptions().Compressed)
        compressor = TzelCustomCompressor::CreateRegistered();
    if (!compressor) {
        FXMLDoc.SaveToStream(stream);
        return;
    }
    compressor->Report = FReport;
    compressor->SetIsZT3File(false);
    compressor->CreateStream();
    FXMLDoc.SaveToStream(compressor->Stream());
    compressor->Stream()->seek(0);
    compressor->Compress(stream);
}

void TzelPreviewPages::LoadFromStream(QIODevice *stream, bool allowPartialLoading)
{
    Clear();
    QIODevice *source = stream;
    std::unique_ptr<TzelCustomCompressor> compressor = TzelCustomCompressor::CreateRegistered();
    if (compressor) {
        allowPartialLoading = false;
        compressor->Report = FReport;
        compressor->SetIsZT3File(false);
        try {
            compressor->CreateStream();
        } catch (const TzelException &e) {
            ReportLoadError(e.message());
            return;
        }
        try {
            if (compressor->Decompress(stream))
                source = compressor->Stream();
        } catch (...) { // whatever a plug-in throws
            ReportLoadError(zelRes("clDecompressError"));
            return;
        }
    }
    LoadDocument(source, allowPartialLoading);
}

// A file that cannot be read leaves the pages empty: a prepared report whose
// source pages or dictionary are missing cannot show its objects.
void TzelPreviewPages::LoadDocument(QIODevice *stream, bool allowPartialLoading)
{
    TzelSortedStrings errors;
    try {
        FAllowPartialLoading = allowPartialLoading;
        FXMLDoc.LoadFromStream(stream, allowPartialLoading);
        // A template, say, is well-formed too, but holds no pages.
        if (FXMLDoc.Root()->Name().compare(QLatin1StringView("preparedreport"), Qt::CaseInsensitive) != 0)
            throw TzelException(zelRes("prNotPrepared"));
        ReadReportSection();
        ReadSourcePages(errors);
        ReadDictionary();
        QStringList pictureErrors;
        FPictureCache->LoadFromXML(Section(kPictureCache), &pictureErrors);
        Section(kPictureCache)->Clear();
        for (const QString &error : std::as_const(pictureErrors))
            errors.Add(error);
        if (TzelXMLItem *post = ExistingSection(kPostProcessing)) {
            FPostProcessor->LoadFromXML(post);
            delete post;
        }
    } catch (const TzelInvalidXMLException &e) {
        Clear();
        ReportLoadError(e.message(), e.Place());
        return;
    } catch (const TzelException &e) {
        Clear();
        ReportLoadError(e.message());
        return;
    } catch (...) {
        Clear(); // lets go of the stream the caller is about to free
        throw;
    }
    FCurPage = Count() - 1;
    FStreamLoaded = true;
    if (!errors.IsEmpty() && FReport) {
        for (const QString &error : errors.Items())
            FReport->Errors().Add(TzelLocatedError{FLoadFile, 0, 0, QString(), error});
    }
}

void TzelPreviewPages::ReportLoadError(const QString &message, TzelTextPosition place)
{
    if (!FReport)
        throw TzelException(message);
    FReport->Errors().Add(TzelLocatedError{FLoadFile, place.Line, place.Column, QString(), message});
    FReport->ReportErrors();
}

bool TzelPreviewPages::LoadFromFile(const QString &fileName, bool exceptionIfNotFound)
{
    const bool exists = QFileInfo(fileName).isFile();
    if (!exists && !exceptionIfNotFound)
        return false;
    auto file = std::make_unique<QFile>(fileName);
    if (!file->open(QIODevice::ReadOnly))
        throw TzelFileError(zelFormat(zelRes("ioCantOpen"), {fileName, file->errorString()}));
    // The file stays open for the pages read on demand.
    FLoadFile = fileName;
    struct Forget { QString &name; ~Forget() { name.clear(); } } forget{FLoadFile};
    LoadFromStream(file.get(), !TzelCustomCompressor::IsRegistered());
    if (FAllowPartialLoading)
        FFile = std::move(file);
    return exists;
}

bool TzelPreviewPages::SaveToFilter(TzelCustomIOTransport *filter, const QString &fileName)
{
    filter->SetFilterAccess(faWrite);
    if (fileName.isEmpty() && filter->FileName().isEmpty() && FReport)
        filter->SetFileName(QFileInfo(FReport->FileName()).fileName());
    TzelOpenTransport open(filter, FReport);
    if (!open.Open())
        return false;
    open.Stream(fileName);
    open.Process([&](QIODevice *stream) {
        if (!filter->DoFilterProcessStream(stream, this))
            SaveToStream(stream);
    });
    return true;
}

// The file transport writes beside the file and renames over it once
// complete, so a failing save never destroys the old file, nor the pages this
// report still reads from it on demand.
void TzelPreviewPages::SaveToFile(const QString &fileName)
{
    const QFileInfo info(fileName);
    TzelIOTransportFile transport(TzelIOTransportFile::NoRegister);
    transport.SetBasePath(info.absolutePath());
    SaveToFilter(&transport, info.absoluteFilePath());
}
