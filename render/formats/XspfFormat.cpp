#include "render/formats/XspfFormat.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListPath.h"
#include "render/formats/ListText.h"
#include "render/formats/VlcOptions.h"

#include <QUrl>
#include <QXmlStreamReader>
#include <vector>

namespace
{
// Element names without their prefix: VLC's own files use "vlc:" without declaring it, so the
// reader matches names as written instead of by namespace.
QStringView LocalName(const QXmlStreamReader& reader)
{
    const QStringView name = reader.qualifiedName();
    const qsizetype colon = name.indexOf(u':');
    return colon < 0 ? name : name.mid(colon + 1);
}

class TrackReader
{
public:
    TrackReader(std::string_view text, ImportContext& context)
        : m_reader(QByteArray::fromRawData(text.data(), qsizetype(text.size()))), m_context(context)
    {
        m_reader.setNamespaceProcessing(false);
    }

    void Read()
    {
        while (!m_reader.atEnd()) {
            const auto token = m_reader.readNext();
            if (token == QXmlStreamReader::StartElement)
                Start();
            else if (token == QXmlStreamReader::EndElement)
                m_bases.pop_back();
        }
        if (m_reader.hasError())
            Fail(m_reader.errorString().toStdString());
    }

private:
    [[noreturn]] void Fail(const std::string& what) const
    {
        throw ListFormatError::AtLine(m_reader.lineNumber(), what);
    }

    void Start()
    {
        m_bases.push_back(m_reader.attributes().value("xml:base").toString());
        if (m_bases.size() == 1 && LocalName(m_reader) != u"playlist")
            Fail("the file is no XSPF playlist: it begins with <" +
                 m_reader.qualifiedName().toString().toStdString() + ">");
        if (LocalName(m_reader) == u"track") {
            ReadTrack();
            m_bases.pop_back();
        }
    }

    void ReadTrack()
    {
        ListClip clip;
        VlcOptions options;
        int locations = 0;
        while (m_reader.readNextStartElement()) {
            const QStringView name = LocalName(m_reader);
            if (name == u"location") {
                const QString location = m_reader.readElementText().trimmed();
                if (!location.isEmpty() && locations++ == 0)
                    clip.file = FilePath(location);
            } else if (name == u"title") {
                clip.title = m_reader.readElementText().toStdString();
            } else if (name == u"extension" && m_reader.attributes().value("application") ==
                                                   QLatin1String(XspfFormat::VlcApplication)) {
                ReadOptions(options);
            } else {
                m_reader.skipCurrentElement();
            }
        }
        if (m_reader.hasError())
            Fail(m_reader.errorString().toStdString());
        if (locations == 0) {
            m_context.notes.Add(FormatNotes::NoMovieLeftOut);
            return;
        }
        m_context.notes.Add(FormatNotes::AlternativesLeftOut, locations - 1);
        options.ApplyTo(clip, m_context.notes);
        m_context.Add(std::move(clip));
    }

    void ReadOptions(VlcOptions& options)
    {
        while (m_reader.readNextStartElement()) {
            if (LocalName(m_reader) == u"option")
                options.Take(m_reader.readElementText().toStdString(), m_reader.lineNumber());
            else
                m_reader.skipCurrentElement();
        }
    }

    // Locations are URIs; relative ones count from the xml:base of the elements around them,
    // and those from the playlist's folder.
    std::string FilePath(const QString& location) const
    {
        const std::string text = location.toStdString();
        if (ListPath::IsWindowsPath(text))
            return text;
        QUrl base;
        for (const QString& element : m_bases) {
            if (element.isEmpty())
                continue;
            if (base.isEmpty())
                base = QUrl::fromLocalFile(QString::fromStdString(m_context.Folder() + "/"));
            base = base.resolved(QUrl(element));
        }
        if (base.isEmpty())
            return ListPath::FromUri(text);
        return ListPath::FromUri(
            base.resolved(QUrl(location)).toString(QUrl::FullyEncoded).toStdString());
    }

    QXmlStreamReader m_reader;
    ImportContext& m_context;
    // The xml:base of every open element, empty where it has none.
    std::vector<QString> m_bases;
};

void WriteTrack(const ListClip& clip, std::string& text)
{
    text += "    <track>\n      <location>" + ListText::XmlEscape(ListPath::ToFileUri(clip.file)) +
            "</location>\n";
    if (!clip.title.empty())
        text += "      <title>" + ListText::XmlEscape(clip.title) + "</title>\n";
    if (clip.start >= 0 || clip.end >= 0) {
        text +=
            "      <extension application=\"" + std::string(XspfFormat::VlcApplication) + "\">\n";
        if (clip.start >= 0)
            text +=
                "        <vlc:option>" + VlcOptions::StartOption(clip.start) + "</vlc:option>\n";
        if (clip.end >= 0)
            text += "        <vlc:option>" + VlcOptions::StopOption(clip.end) + "</vlc:option>\n";
        text += "      </extension>\n";
    }
    text += "    </track>\n";
}
} // namespace

bool XspfFormat::Claims(std::string_view text) const
{
    return text.substr(0, 1024).find("<playlist") != std::string_view::npos;
}

std::string XspfFormat::Write(const std::vector<ListClip>& clips, ExportContext&) const
{
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                       "<playlist version=\"1\" xmlns=\"http://xspf.org/ns/0/\" "
                       "xmlns:vlc=\"http://www.videolan.org/vlc/playlist/ns/0/\">\n"
                       "  <trackList>\n";
    for (const ListClip& clip : clips)
        WriteTrack(clip, text);
    return text + "  </trackList>\n</playlist>\n";
}

void XspfFormat::Read(std::string_view text, ImportContext& context) const
{
    TrackReader(text, context).Read();
}
