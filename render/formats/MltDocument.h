#pragma once
// The services of an MLT XML file (producers, playlists, tractors) by id, and the clips of
// its show: the main tractor's first video track, or the file's only playlist.
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class ImportContext;

class MltDocument
{
public:
    // Throws ListFormatError naming the line it cannot read.
    void Parse(std::string_view text);
    void AddClips(ImportContext& context) const;

private:
    struct Item {
        std::string producer;
        std::string in;
        std::string out;
        bool blank = false;
    };
    struct Track {
        std::string producer;
        bool videoHidden = false;
    };
    struct Service {
        enum Kind { Producer, Playlist, Tractor } kind = Producer;
        std::unordered_map<std::string, std::string> properties;
        std::vector<Item> items;
        std::vector<Track> tracks;
        int transitions = 0;

        std::string Property(const char* name) const;
        // Colours, titles and test pictures: no movie to play.
        bool IsGenerator() const;
    };

    class Parser;

    const Service* Find(const std::string& id) const;
    const Service* MainService() const;
    bool HasMedia(const Service& service, int depth) const;
    void AddService(const Service& service, const Item* entry, ImportContext& context,
                    int depth) const;
    void AddTracks(const Service& tractor, ImportContext& context, int depth) const;
    void AddProducer(const Service& producer, const Item* entry, ImportContext& context) const;
    // A time as MLT writes it (frames, "hh:mm:ss.fff" or "hh:mm:ss:ff") in frames; -1 when
    // there is none.
    double Frames(const std::string& time) const;

    std::unordered_map<std::string, Service> m_services;
    // Ids in the order their elements began, and those that another service plays.
    std::vector<std::string> m_order;
    std::unordered_set<std::string> m_used;
    std::string m_root;
    std::string m_mainProducer;
    double m_fps = 25.0;
};
