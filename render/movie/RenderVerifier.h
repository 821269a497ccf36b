#pragma once
// Checks a written movie against its plan: it holds exactly the show's pictures, and the first
// and last picture of every clip are the source's pictures, bit for bit where they were copied
// and within MinimumPsnr where they were encoded again.
#include "render/movie/AvPtr.h"

#include <QString>
#include <functional>

class RenderPlan;
struct RenderResult;

class RenderVerifier
{
public:
    static constexpr double MinimumPsnr = 40.0;

    RenderVerifier(const RenderPlan& plan, const QString& moviePath);

    // Throws RenderFailure saying which clip differs. stillWanted is called now and then and
    // throws to stop; checked after each picture compared.
    void Check(RenderResult& result, const std::function<void()>& stillWanted,
               const std::function<void()>& checked) const;

    static bool Identical(const AVFrame& a, const AVFrame& b);
    // Over all three planes; infinite for identical pictures.
    static double Psnr(const AVFrame& a, const AVFrame& b);

private:
    const RenderPlan& m_plan;
    QString m_path;
};
