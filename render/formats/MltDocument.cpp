#include "render/formats/MltDocument.h"

#include "render/formats/ImportContext.h"
#include "render/formats/ListFormatError.h"
#include "render/formats/ListPath.h"
#include "render/formats/ListText.h"
#include "render/formats/Timecode.h"

#include <QXmlStreamReader>
#include <algorithm>
#include <cmath>

namespace
{
// Nesting deeper than this is no show a person made, or a service that plays itself.
constexpr int kMaxDepth = 32;
} // namespace

// Reads the elements into services, keeping a stack of what each nested element belongs to.
class MltDocument::Parser
{
public:
    Parser(MltDocument& document, std::string_view text)
        : m_document(document),
          m_reader(QByteArray::fromRawData(text.data(), qsizetype(text.size())))
    {
    }

    void Run()
    {
        while (!m_reader.atEnd()) {
            const auto token = m_reader.readNext();
            if (token == QXmlStreamReader::StartElement)
                Start(m_reader.name());
            else if (token == QXmlStreamReader::EndElement)
                m_open.pop_back();
        }
        if (m_reader.hasError())
            throw ListFormatError::AtLine(m_reader.lineNumber(),
                                          m_reader.errorString().toStdString());
    }

private:
    // What an open element is: a service (by id), an entry of a playlist, or anything else.
    struct Open {
        enum { ServiceOf, EntryOf, Other } kind;
        std::string id;
    };

    std::string Attribute(const char* name) const
    {
        return m_reader.attributes().value(name).toString().toStdString();
    }

    Service* Parent() { return m_open.empty() ? nullptr : ServiceOf(m_open.back()); }

    Service* ServiceOf(const Open& open)
    {
        if (open.kind != Open::ServiceOf)
            return nullptr;
        return &m_document.m_services[open.id];
    }

    void Start(QStringView name)
    {
        if (m_open.empty() && name != u"mlt" && name != u"playlist" && name != u"tractor")
            throw ListFormatError::AtLine(m_reader.lineNumber(),
                                          "the file is no MLT XML: it begins with <" +
                                              name.toString().toStdString() + ">");
        if (name == u"mlt") {
            m_document.m_root = Attribute("root");
            m_document.m_mainProducer = Attribute("producer");
        } else if (name == u"profile") {
            const double num = m_reader.attributes().value("frame_rate_num").toDouble();
            const double den = m_reader.attributes().value("frame_rate_den").toDouble();
            if (num > 0 && den > 0)
                m_document.m_fps = num / den;
        } else if (name == u"producer" || name == u"chain") {
            return StartService(Service::Producer);
        } else if (name == u"playlist") {
            return StartService(Service::Playlist);
        } else if (name == u"tractor" ||
                   (name == u"multitrack" && (!Parent() || Parent()->kind != Service::Tractor))) {
            return StartService(Service::Tractor);
        } else if (name == u"multitrack") {
            // A tractor's multitrack holds the tractor's own tracks.
            return m_open.push_back(m_open.back());
        } else if (name == u"property") {
            return ReadProperty();
        } else if (Service* parent = Parent()) {
            return StartPart(name, *parent);
        }
        m_open.push_back({Open::Other, {}});
    }

    void StartPart(QStringView name, Service& parent)
    {
        if (name == u"entry" && parent.kind == Service::Playlist) {
            parent.items.push_back({Attribute("producer"), Attribute("in"), Attribute("out")});
            m_document.m_used.insert(Attribute("producer"));
            return m_open.push_back({Open::EntryOf, m_open.back().id});
        }
        if (name == u"blank" && parent.kind == Service::Playlist)
            parent.items.push_back({{}, {}, {}, true});
        if (name == u"track" && parent.kind == Service::Tractor) {
            const QStringView hide = m_reader.attributes().value("hide");
            parent.tracks.push_back({Attribute("producer"), hide == u"video" || hide == u"both"});
            m_document.m_used.insert(Attribute("producer"));
        }
        if (name == u"transition")
            ++parent.transitions;
        m_open.push_back({Open::Other, {}});
    }

    // A service defined inside a playlist is played there; one inside an entry is what the
    // entry plays.
    void StartService(Service::Kind kind)
    {
        std::string id = Attribute("id");
        if (id.empty() || m_document.m_services.contains(id))
            id = "#" + std::to_string(m_document.m_order.size());
        Service& service = m_document.m_services[id];
        service.kind = kind;
        for (const auto& attribute : m_reader.attributes())
            service.properties[attribute.name().toString().toStdString()] =
                attribute.value().toString().toStdString();
        m_document.m_order.push_back(id);
        if (!m_open.empty() && m_open.back().kind == Open::EntryOf) {
            Service& playlist = m_document.m_services[m_open.back().id];
            playlist.items.back().producer = id;
            m_document.m_used.insert(id);
        } else if (Service* parent = Parent(); parent && parent->kind == Service::Playlist) {
            parent->items.push_back({id, {}, {}});
            m_document.m_used.insert(id);
        }
        m_open.push_back({Open::ServiceOf, id});
    }

    void ReadProperty()
    {
        const std::string name = Attribute("name");
        Service* parent = Parent();
        const std::string value =
            m_reader.readElementText(QXmlStreamReader::SkipChildElements).toStdString();
        if (parent && !name.empty())
            parent->properties[name] = value;
    }

    MltDocument& m_document;
    QXmlStreamReader m_reader;
    std::vector<Open> m_open;
};

std::string MltDocument::Service::Property(const char* name) const
{
    const auto found = properties.find(name);
    return found == properties.end() ? std::string() : found->second;
}

bool MltDocument::Service::IsGenerator() const
{
    const std::string service = Property("mlt_service");
    for (const char* generator :
         {"color", "colour", "pango", "qtext", "kdenlivetitle", "noise", "count", "blank"})
        if (service == generator)
            return true;
    return service.starts_with("frei0r.") || Property("resource").empty();
}

void MltDocument::Parse(std::string_view text)
{
    Parser(*this, text).Run();
}

const MltDocument::Service* MltDocument::Find(const std::string& id) const
{
    const auto found = m_services.find(id);
    return found == m_services.end() ? nullptr : &found->second;
}

// The producer the file names, when it is a tractor or the only kind there is; else the last
// tractor (or playlist) that nothing else plays. A project's bin is a playlist that no
// tractor plays, so a tractor is preferred to it.
const MltDocument::Service* MltDocument::MainService() const
{
    const Service* named = Find(m_mainProducer);
    const auto unused = [this](Service::Kind kind) -> const Service* {
        for (auto id = m_order.rbegin(); id != m_order.rend(); ++id) {
            const Service* service = Find(*id);
            if (service->kind == kind && !m_used.contains(*id))
                return service;
        }
        return nullptr;
    };
    if (named && named->kind == Service::Tractor)
        return named;
    if (const Service* tractor = unused(Service::Tractor))
        return tractor;
    return named ? named : unused(Service::Playlist);
}

bool MltDocument::HasMedia(const Service& service, int depth) const
{
    if (depth > kMaxDepth)
        throw ListFormatError("The file nests its services too deep, or a service plays itself.");
    if (service.kind == Service::Producer)
        return !service.IsGenerator();
    const auto plays = [&](const std::string& id) {
        const Service* played = Find(id);
        return played && HasMedia(*played, depth + 1);
    };
    if (service.kind == Service::Playlist)
        return std::any_of(service.items.begin(), service.items.end(),
                           [&](const Item& item) { return !item.blank && plays(item.producer); });
    return std::any_of(service.tracks.begin(), service.tracks.end(), [&](const Track& track) {
        return !track.videoHidden && plays(track.producer);
    });
}

void MltDocument::AddClips(ImportContext& context) const
{
    if (const Service* main = MainService())
        AddService(*main, nullptr, context, 0);
}

void MltDocument::AddService(const Service& service, const Item* entry, ImportContext& context,
                             int depth) const
{
    if (depth > kMaxDepth)
        throw ListFormatError("The file nests its services too deep, or a service plays itself.");
    if (service.kind == Service::Producer)
        return AddProducer(service, entry, context);
    if (service.kind == Service::Tractor) {
        // A tractor played as an entry is a transition between two clips.
        if (entry)
            context.notes.Add(FormatNotes::TransitionsCut, service.transitions);
        return AddTracks(service, context, depth);
    }
    for (const Item& item : service.items) {
        const Service* played = Find(item.producer);
        if (item.blank)
            context.notes.Add(FormatNotes::GapsDropped);
        else if (played)
            AddService(*played, &item, context, depth + 1);
    }
}

void MltDocument::AddTracks(const Service& tractor, ImportContext& context, int depth) const
{
    bool taken = false;
    for (const Track& track : tractor.tracks) {
        const Service* played = Find(track.producer);
        if (!played || !HasMedia(*played, depth + 1))
            continue;
        if (track.videoHidden) {
            context.notes.Add(FormatNotes::AudioLeftOut);
        } else if (taken) {
            context.notes.Add(FormatNotes::VideoTracksLeftOut);
        } else {
            taken = true;
            AddService(*played, nullptr, context, depth + 1);
        }
    }
}

void MltDocument::AddProducer(const Service& producer, const Item* entry,
                              ImportContext& context) const
{
    if (producer.IsGenerator()) {
        context.notes.Add(FormatNotes::NoMovieLeftOut);
        return;
    }
    double in = entry ? Frames(entry->in) : -1;
    double out = entry ? Frames(entry->out) : -1;
    if (in < 0)
        in = std::max(0.0, Frames(producer.Property("in")));
    if (out < 0)
        out = Frames(producer.Property("out"));
    if (out < 0 && Frames(producer.Property("length")) > 0)
        out = Frames(producer.Property("length")) - 1;
    ListClip clip;
    clip.file = producer.Property("resource");
    if (!m_root.empty() && !clip.file.empty() && clip.file[0] != '/' &&
        !ListPath::IsWindowsPath(clip.file) && !ListPath::IsAddress(clip.file))
        clip.file = m_root + "/" + clip.file;
    clip.start = in / m_fps;
    clip.end = out >= 0 ? (out + 1) / m_fps : -1.0;
    context.Add(std::move(clip));
}

double MltDocument::Frames(const std::string& time) const
{
    const std::string_view text = ListText::Trim(time);
    if (text.empty())
        return -1;
    double value = 0;
    if (text.find(':') == std::string_view::npos)
        return ListText::ParseNumber(text, value) ? std::floor(value) : -1;
    const std::size_t last = text.find_last_of(":;");
    if (text.find('.', last) != std::string_view::npos || text.find(',', last) != text.npos) {
        // "hh:mm:ss.fff", with the seconds as a fraction.
        double seconds = 0;
        std::string_view rest = text;
        for (std::size_t colon; (colon = rest.find(':')) != std::string_view::npos;) {
            if (!ListText::ParseNumber(rest.substr(0, colon), value))
                return -1;
            seconds = seconds * 60 + value;
            rest.remove_prefix(colon + 1);
        }
        std::string fraction(rest);
        std::replace(fraction.begin(), fraction.end(), ',', '.');
        if (!ListText::ParseNumber(fraction, value))
            return -1;
        return std::round((seconds * 60 + value) * m_fps);
    }
    int64_t frame = 0;
    bool semicolons = false;
    return Timecode::Parse(text, Timecode::Nominal(m_fps), false, frame, semicolons) ? double(frame)
                                                                                     : -1;
}
