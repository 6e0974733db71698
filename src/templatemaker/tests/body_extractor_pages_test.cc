// Recognition on whole pages laid out the way sites commonly are: the element chosen must be
// the one that holds the article, and the title the article's own.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/gbk_text.h"
#include "templatemaker/body_extractor.h"

namespace yelian {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;
using ::testing::StartsWith;

// A local news article: header with logo and channel links, a breadcrumb, the article (headline,
// byline, text, share links), reader comments below it and a sidebar of headline lists.
const std::string& newsPage() {
    static const std::string page = utf8ToGbk(R"html(<!DOCTYPE html>
<html>
<head>
<meta charset="gbk">
<title>青河地铁五号线今日开通试运营_本地新闻_青河晚报网</title>
<link rel="stylesheet" href="/css/main.css">
<script type="text/javascript">
var channel = "local"; if (window.top != window) { window.top.location = window.location; }
</script>
<style>.nav a { margin: 0 6px; } .content p { text-indent: 2em; }</style>
</head>
<body>
<div id="top">
  <div class="logo"><a href="/"><img src="/images/logo.png" alt="青河晚报网"></a></div>
  <div class="nav">
    <a href="/">首页</a> | <a href="/local/">本地</a> | <a href="/china/">国内</a> |
    <a href="/world/">国际</a> | <a href="/finance/">财经</a> | <a href="/sports/">体育</a>
  </div>
  <div class="search"><form action="/search"><input type="text" name="q"><button>搜索</button></form></div>
</div>
<div class="crumb">当前位置：<a href="/">首页</a> &gt; <a href="/local/">本地新闻</a> &gt; 正文</div>
<div class="main">
  <div class="left">
    <div class="article">
      <h1>青河地铁五号线今日开通试运营</h1>
      <div class="info">2024-05-20 08:30 来源：青河晚报 作者：李明 <a href="#comments">评论(3)</a></div>
      <div class="content" id="content">
        <p>本报讯（记者 李明）5月20日上午9时，青河地铁五号线正式开通试运营。这条线路全长26.8公里，共设车站19座，串联起城东新区、老城区和南部高教园区。</p>
        <p>记者在首发列车上看到，车厢内宽敞明亮，不少市民专程赶来体验。家住城东的王女士说：“以前到老城区上班要倒两趟公交，路上一个多小时，现在坐地铁半小时就到了。”</p>
        <p>据青河轨道交通集团介绍，五号线采用六节编组B型车，高峰时段行车间隔为4分30秒，首班车6时30分发车，末班车22时30分发车。试运营初期，全线票价执行现行<a href="/topic/fare/">票价标准</a>，市民可使用交通卡和手机扫码乘车。</p>
        <p>为方便换乘，五号线在人民广场站与一号线、在火车站站与三号线实现站内换乘。沿线各站还设置了无障碍电梯、母婴室和自助服务终端。</p>
        <p>轨道交通集团相关负责人表示，试运营期间将持续监测客流变化，根据实际情况优化运行图，并欢迎市民通过服务热线提出意见和建议。</p>
      </div>
      <div class="share">分享到：<a href="#">微博</a> <a href="#">微信</a> <a href="#">QQ空间</a></div>
      <div class="editor">责任编辑：张华</div>
    </div>
    <div class="comments" id="comments">
      <div class="comment-title">网友评论（3）</div>
      <div class="comment"><div class="user"><a href="/u/1021">城东小王</a> 05-20 10:12</div><div class="text">终于开通了，上班方便多了！</div></div>
      <div class="comment"><div class="user"><a href="/u/3377">老城居民</a> 05-20 10:40</div><div class="text">希望早高峰能再加密一些班次。</div></div>
      <div class="comment"><div class="user"><a href="/u/5120">南园学生</a> 05-20 11:05</div><div class="text">去高教园区终于不用挤公交了。</div></div>
      <div class="comment-form"><textarea name="body" rows="3">说两句吧</textarea><button>发表评论</button></div>
    </div>
  </div>
  <div class="right">
    <div class="box">
      <div class="hd">本地热点</div>
      <div class="bd"><ul>
        <li><a href="/local/1.html">青河南站改造工程进入收尾阶段</a></li>
        <li><a href="/local/2.html">市区新增三处口袋公园</a></li>
        <li><a href="/local/3.html">夏季用电高峰保障方案出台</a></li>
      </ul></div>
    </div>
    <div class="box ad"><a href="http://ad.example.com/"><img src="/ad/300x250.jpg"></a></div>
  </div>
</div>
<div class="footer">
  <a href="/about/">关于我们</a> | <a href="/contact/">联系方式</a><br>
  青河晚报社 版权所有 未经授权禁止转载
</div>
</body>
</html>
)html");
    return page;
}

// A personal blog post: the site name is not a heading, the post title is the h1; the post
// sits beside a sidebar of widgets and above a comment list.
const std::string& blogPage() {
    static const std::string page = utf8ToGbk(R"html(<!DOCTYPE html>
<html lang="zh-CN">
<head>
<meta charset="UTF-8">
<title>秋日登山记 - 山间小记</title>
<script src="/js/jquery.min.js"></script>
</head>
<body class="single">
<div id="page">
  <div id="masthead">
    <p class="site-title"><a href="/">山间小记</a></p>
    <p class="site-description">记录走过的路和看过的风景</p>
    <div class="menu"><a href="/">首页</a> <a href="/travel/">游记</a> <a href="/photo/">摄影</a> <a href="/about/">关于</a></div>
  </div>
  <div id="content">
    <div id="primary">
      <div class="post" id="post-218">
        <h1 class="entry-title">秋日登山记</h1>
        <div class="entry-meta">发表于 2023年10月8日 · 分类：<a href="/travel/">游记</a></div>
        <div class="entry-content">
          <p>国庆假期的最后一天，天气终于放晴。早上六点出门，坐第一班车到了山脚下的小村子，准备沿着老石阶一路走到山顶。</p>
          <p>山路比想象中好走。石阶两边是成片的竹林，风一吹沙沙作响，偶尔能听见山涧的水声。走了一个多小时，在半山腰的凉亭歇脚，遇到一位每天都上山的老人家，他说这条路他已经走了二十多年。</p>
          <p>过了凉亭，路开始陡起来。枫树的叶子刚刚变红，阳光从树叶间漏下来，照在石阶上斑斑驳驳的。我停下来拍了很多照片，可惜手机拍不出那种层次。</p>
          <p>中午十二点到达山顶。远处的群山一层一层地铺开，山下的水库像一面镜子。在山顶吃了带来的饭团和橘子，坐了很久才往回走。</p>
          <p>下山走的是另一条路，经过一座小小的寺庙，门口的银杏树已经黄了一半。回到村子时天色已暗，腿虽然酸，心里却很轻松。这大概就是我喜欢走路的原因吧。</p>
        </div>
        <div class="entry-footer">标签：<a href="/tag/hiking/">登山</a> <a href="/tag/autumn/">秋天</a></div>
      </div>
      <div class="post-navigation"><a href="/2023/09/lake.html">« 湖边的黄昏</a> <a href="/2023/10/rain.html">雨中的古镇 »</a></div>
      <div id="comments">
        <h3>2 条评论</h3>
        <div class="comment-body"><div class="comment-author">小林</div><p>照片一定很美，期待下一篇！</p></div>
        <div class="comment-body"><div class="comment-author">阿杰</div><p>这条路我也走过，秋天确实是最好的季节。</p></div>
      </div>
    </div>
    <div id="secondary">
      <div class="widget"><h3 class="widget-title">关于我</h3><div class="textwidget">一个喜欢走路和拍照的普通上班族。</div></div>
      <div class="widget"><h3 class="widget-title">最新文章</h3><ul><li><a href="/2023/10/rain.html">雨中的古镇</a></li><li><a href="/2023/09/lake.html">湖边的黄昏</a></li></ul></div>
      <div class="widget"><h3 class="widget-title">归档</h3><ul><li><a href="/2023/10/">2023年10月</a></li><li><a href="/2023/09/">2023年9月</a></li></ul></div>
    </div>
  </div>
  <div id="colophon">© 2023 山间小记 · 由 <a href="/">某某博客程序</a> 驱动</div>
</div>
</body>
</html>
)html");
    return page;
}

// An old-style forum thread laid out in tables: one table per post, the opening post first,
// with small divs for the signatures and the quoted text of replies.
const std::string& forumPage() {
    static const std::string page = utf8ToGbk(R"html(<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=gbk">
<title>新手第一次拍星空的经验分享 - 摄影交流 - 山城论坛</title>
</head>
<body>
<table width="960" align="center" class="top"><tr>
<td><a href="/"><img src="/images/logo.gif" border="0"></a></td>
<td align="right"><a href="/login.php">登录</a> | <a href="/register.php">注册</a></td>
</tr></table>
<table width="960" align="center" class="menu"><tr><td>
<a href="/">论坛首页</a> <a href="/forum-3-1.html">摄影交流</a> <a href="/forum-5-1.html">器材讨论</a> <a href="/forum-8-1.html">二手市场</a>
</td></tr></table>
<div class="ad"><a href="http://ad.example.com/"><img src="/ad/banner.gif"></a></div>
<table width="960" align="center" class="crumb"><tr><td>
<a href="/">山城论坛</a> &raquo; <a href="/forum-3-1.html">摄影交流</a> &raquo; 新手第一次拍星空的经验分享
</td></tr></table>
<table width="960" align="center" class="post" id="pid1001">
<tr><td class="author" width="160" valign="top"><a href="/space-uid-88.html">追星的猫</a><br>帖子 56<br>注册 2021-3-2</td>
<td class="message" valign="top">
<h1>新手第一次拍星空的经验分享</h1>
<font size="2">发表于 2023-8-12 22:41 | 只看该作者 | 楼主</font><br><br>
上个月去了一趟海拔三千米的草原，第一次尝试拍银河，回来整理了一下经验，希望对新手有点帮助。<br><br>
一、器材。我用的是一台入门全画幅相机，配一支14毫米F2.8的广角镜头，再加一个结实的三脚架和快门线。镜头光圈越大越好，这样可以用更短的曝光时间。<br><br>
二、地点和时间。一定要远离城市灯光，最好选在没有月亮的晚上。夏季银河中心在东南方向，晚上十点以后升起来，凌晨一两点位置最好。<br><br>
三、参数。手动对焦到无穷远，先用实时取景放大一颗亮星对清楚。光圈开到最大，快门二十秒左右，感光度3200起步，再根据画面调整。快门太长星星会拖线。<br><br>
四、后期。用RAW格式拍摄，回来后适当提高对比度和清晰度，降低色温让天空偏蓝，再做一点降噪就可以了。<br><br>
最后提醒一句，晚上草原很冷，一定要带够衣服，还有头灯和备用电池。
<div class="signature">手持相机，记录天空。</div>
</td></tr></table>
<table width="960" align="center" class="post" id="pid1002">
<tr><td class="author" width="160" valign="top"><a href="/space-uid-129.html">老张的镜头</a><br>帖子 1203</td>
<td class="message" valign="top"><font size="2">发表于 2023-8-12 23:05 | 沙发</font><br>
<div class="quote">追星的猫 发表于 2023-8-12 22:41：上个月去了一趟海拔三千米的草原</div>
写得很详细，补充一点：可以试试堆栈降噪，效果更好。
</td></tr></table>
<table width="960" align="center" class="post" id="pid1003">
<tr><td class="author" width="160" valign="top"><a href="/space-uid-301.html">小白学摄影</a><br>帖子 8</td>
<td class="message" valign="top"><font size="2">发表于 2023-8-13 08:17 | 板凳</font><br>
收藏了，下个月就去试试。
</td></tr></table>
<table width="960" align="center" class="footer"><tr><td>
<a href="/archiver/">手机版</a> | <a href="/contact.php">联系我们</a><br>Powered by 某论坛程序
</td></tr></table>
</body>
</html>
)html");
    return page;
}

// A public notice whose text sits in a chain of wrapper divs (layout, column, detail, editor
// markup), each holding little besides the next.
const std::string& noticePage() {
    static const std::string page = utf8ToGbk(R"html(<!DOCTYPE html>
<html>
<head>
<meta http-equiv="Content-Type" content="text/html; charset=gb2312">
<title>关于征集老旧小区改造意见的通知—青河市住房和城乡建设局</title>
<!-- page statistics -->
<script language="javascript">document.write("");</script>
</head>
<body>
<div class="header"><div class="banner"><img src="/images/banner.jpg" alt="青河市住房和城乡建设局"></div>
<div class="menu"><a href="/">首页</a> <a href="/zwgk/">政务公开</a> <a href="/tzgg/">通知公告</a> <a href="/bsfw/">办事服务</a></div></div>
<div class="page">
  <div class="container">
    <div class="location">您的位置：<a href="/">首页</a> &gt; <a href="/tzgg/">通知公告</a></div>
    <div class="row">
      <div class="col-main">
        <h2 class="column-name">通知公告</h2>
        <div class="detail">
          <div class="detail-title">关于征集老旧小区改造意见的通知</div>
          <div class="detail-info">发布时间：2024-04-02 &nbsp; 浏览次数：<span id="hits">1024</span></div>
          <div class="detail-body">
            <div class="TRS_Editor">
              <div class="Custom_UnionStyle">
                <p>各有关单位、广大市民：</p>
                <p>为做好2024年度老旧小区改造工作，充分听取居民意愿，现就改造内容和实施方式公开征集意见。有关事项通知如下：</p>
                <p>一、征集范围。本年度计划改造的小区共42个，名单详见附件。小区居民、物业服务企业和社区工作人员均可提出意见。</p>
                <p>二、征集内容。主要包括加装电梯、停车设施、雨污分流、外墙保温、绿化和照明等方面的需求和建议。</p>
                <p>三、征集方式。意见可通过电子邮件发送，也可以书面形式送至市住房和城乡建设局城市更新科，请注明小区名称和联系方式。</p>
                <p>四、征集时间。自本通知发布之日起至2024年4月30日止。</p>
                <p>感谢广大市民的支持和参与。</p>
                <p style="text-align: right">青河市住房和城乡建设局<br>2024年4月2日</p>
              </div>
            </div>
          </div>
          <div class="detail-tools"><a href="javascript:window.print()">打印本页</a> <a href="javascript:window.close()">关闭窗口</a></div>
        </div>
      </div>
    </div>
  </div>
</div>
<div class="footer">主办单位：青河市住房和城乡建设局 &nbsp; 地址：青河市人民路8号</div>
</body>
</html>
)html");
    return page;
}

std::string gbk(const char* utf8) {
    return utf8ToGbk(utf8);
}

struct PageCase {
    const char* name;
    const std::string& page;
    RecognitionMode mode;
    // How the chosen element's start tag begins.
    std::string startTag;
    // The start and the end of the article's text, which the element must hold.
    std::string firstWords;
    std::string lastWords;
    // Text from around the article that must stay out of the element.
    std::string outside;
    std::string title;
};

TEST(BodyExtractorPages, ChoosesTheArticleElementAndTitle) {
    const std::vector<PageCase> cases = {
        {"news, nesting", newsPage(), RecognitionMode::Nesting, R"(<div class="content")",
         gbk("本报讯"), gbk("提出意见和建议。"), gbk("终于开通了"),
         gbk("青河地铁五号线今日开通试运营")},
        {"news, grouping", newsPage(), RecognitionMode::Grouping, R"(<div class="content")",
         gbk("本报讯"), gbk("提出意见和建议。"), gbk("终于开通了"),
         gbk("青河地铁五号线今日开通试运营")},
        {"blog, nesting", blogPage(), RecognitionMode::Nesting, R"(<div class="entry-content")",
         gbk("国庆假期"), gbk("喜欢走路的原因吧。"), gbk("期待下一篇"), gbk("秋日登山记")},
        {"blog, grouping", blogPage(), RecognitionMode::Grouping, R"(<div class="entry-content")",
         gbk("国庆假期"), gbk("喜欢走路的原因吧。"), gbk("期待下一篇"), gbk("秋日登山记")},
        {"forum, nesting", forumPage(), RecognitionMode::Nesting,
         R"(<table width="960" align="center" class="post" id="pid1001")", gbk("上个月去了"),
         gbk("还有头灯和备用电池。"), gbk("堆栈降噪"), gbk("新手第一次拍星空的经验分享")},
        {"forum, grouping", forumPage(), RecognitionMode::Grouping,
         R"(<table width="960" align="center" class="post" id="pid1001")", gbk("上个月去了"),
         gbk("还有头灯和备用电池。"), gbk("堆栈降噪"), gbk("新手第一次拍星空的经验分享")},
        // The innermost wrapper that holds the paragraphs; the grouping mode takes the
        // outermost of the wrappers with the same text.
        {"notice, nesting", noticePage(), RecognitionMode::Nesting,
         R"(<div class="Custom_UnionStyle")", gbk("各有关单位"), gbk("2024年4月2日"),
         gbk("打印本页"), gbk("关于征集老旧小区改造意见的通知")},
        {"notice, grouping", noticePage(), RecognitionMode::Grouping, R"(<div class="detail-body")",
         gbk("各有关单位"), gbk("2024年4月2日"), gbk("打印本页"),
         gbk("关于征集老旧小区改造意见的通知")},
    };
    BodyExtractor extractor;
    for (const PageCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Recognition result = extractor.recognise(c.page, c.mode);
        EXPECT_THAT(result.body, StartsWith(c.startTag));
        EXPECT_NE(c.page.find(result.body), std::string::npos);
        EXPECT_THAT(result.body, HasSubstr(c.firstWords));
        EXPECT_THAT(result.body, HasSubstr(c.lastWords));
        EXPECT_THAT(result.body, Not(HasSubstr(c.outside)));
        EXPECT_EQ(result.title, c.title);
    }
}

}  // namespace
}  // namespace yelian
