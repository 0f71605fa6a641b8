// SPDX-License-Identifier: GPL-3.0-or-later
#include <QFile>
#include <QXmlStreamReader>

#include "player/file_url.h"
#include "ratings/rhythmbox/rhythmdb_source.h"

namespace jukora {

namespace {

// Progress is told about this often (in entries), and the file's place read.
constexpr std::size_t kProgressEvery = 512;

class RhythmdbSource : public RatingSource {
 public:
  explicit RhythmdbSource(std::string path) : path_(std::move(path)) {}
  std::string name() const override { return "Rhythmbox"; }
  SourceRead read(const SourceProgress& progress) override;

 private:
  SourceRead failed(const std::string& why) const {
    SourceRead read;
    read.status = SourceRead::Status::kFailed;
    read.error = "\"" + path_ + "\" cannot be read as Rhythmbox's database: " + why + ". Nothing was changed.";
    return read;
  }
  // One <entry type="song">, the reader at its start.
  void read_song(QXmlStreamReader& xml, SourceRead& read);

  std::string path_;
};

void RhythmdbSource::read_song(QXmlStreamReader& xml, SourceRead& read) {
  QString location, rating, last_played;
  while (xml.readNextStartElement()) {
    const auto name = xml.name();
    if (name == u"location")
      location = xml.readElementText();
    else if (name == u"rating")
      rating = xml.readElementText();
    else if (name == u"last-played")
      last_played = xml.readElementText();
    else
      xml.skipCurrentElement();
  }
  if (xml.hasError()) return;
  const QByteArray url = location.toUtf8();
  std::optional<std::string> path = path_from_file_url(std::string_view(url.constData(), url.size()));
  if (!path) {
    ++read.not_local;
    return;
  }
  SourceSong song{
      std::move(*path), rating.isEmpty() ? ReadRating::unrated() : rating_from_stars_text(rating.toStdString()), {}};
  bool ok = false;
  const qint64 seconds = last_played.toLongLong(&ok);
  if (ok && seconds > 0) song.last_played = seconds;
  read.songs.push_back(std::move(song));
}

SourceRead RhythmdbSource::read(const SourceProgress& progress) {
  QFile file(QString::fromLocal8Bit(path_.data(), static_cast<qsizetype>(path_.size())));
  if (!file.open(QIODevice::ReadOnly)) return failed(file.errorString().toStdString());
  const qint64 size = file.size();
  if (size > kMaxRhythmdbBytes) return failed("it is larger than 1 GB, far more than Rhythmbox writes");

  QXmlStreamReader xml(&file);
  xml.setNamespaceProcessing(false);
  SourceRead read;
  std::size_t entries = 0;
  bool root_seen = false;
  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::DTD:
        return failed("it declares a document type of its own, which Rhythmbox never writes");
      case QXmlStreamReader::EntityReference:
        return failed("it refers to an entity, which Rhythmbox never writes");
      case QXmlStreamReader::StartElement:
        if (!root_seen) {
          if (xml.name() != u"rhythmdb") return failed("its outermost element is not <rhythmdb>");
          root_seen = true;
        } else if (xml.name() == u"entry" && xml.attributes().value(QLatin1String("type")) == u"song") {
          read_song(xml, read);
        } else if (xml.name() == u"entry") {
          xml.skipCurrentElement();  // a podcast, a radio station, an ignored file
        }
        if (++entries % kProgressEvery == 0 &&
            !progress(static_cast<std::size_t>(file.pos()), static_cast<std::size_t>(size))) {
          read.status = SourceRead::Status::kCancelled;
          return read;
        }
        break;
      default:
        break;
    }
  }
  if (xml.hasError()) {
    const std::string why = xml.error() == QXmlStreamReader::PrematureEndOfDocumentError
                                ? "it ends in the middle (is it cut short?)"
                                : xml.errorString().toStdString();
    return failed(why + " at line " + std::to_string(xml.lineNumber()));
  }
  if (!root_seen) return failed("it holds no <rhythmdb> element");
  progress(static_cast<std::size_t>(size), static_cast<std::size_t>(size));
  return read;
}

}  // namespace

std::unique_ptr<RatingSource> rhythmdb_source(const std::string& path) {
  return std::make_unique<RhythmdbSource>(path);
}

}  // namespace jukora
