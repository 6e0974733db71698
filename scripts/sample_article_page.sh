#!/usr/bin/env bash
# Writes an article page of our own to standard output (UTF-8): navigation, the article under
# its headline, a list of related links, comments and a footer, so that the template maker
# finds a body and several other candidate blocks. Usage: scripts/sample_article_page.sh [N]
# where N (default 8) is the number of article paragraphs; a large N makes a large page.
set -euo pipefail
paragraphs=${1:-8}
cat <<'HEAD'
<!DOCTYPE html>
<html><head><meta charset="utf-8"><title>滨江绿道全线开放_城市新闻</title>
<meta name="description" content="滨江绿道全长十二公里，今日起全线开放。">
<style>body{font-family:sans-serif;margin:0}#nav{background:#246;padding:8px}#nav a{color:#fff;margin-right:12px}
.main{display:flex}.article{flex:3;padding:12px}.side{flex:1;padding:12px;background:#eef}</style>
</head><body>
<div id="nav"><a href="/">首页</a><a href="/news/">新闻</a><a href="/city/">城市</a><a href="/life/">生活</a></div>
<div class="main"><div class="article"><h1>滨江绿道全线开放</h1><p class="info">来源：城市新闻　2024-05-01</p>
<div class="content">
HEAD
for ((i = 1; i <= paragraphs; i++)); do
    echo "<p>新建的滨江绿道全长十二公里，沿途设有观景平台、休息驿站和自行车租赁点，串联起城东新区、老城区和南部高教园区。开放首日，市民纷纷前来散步、骑行和拍照，第${i}段。</p>"
done
cat <<'TAIL'
</div></div>
<div class="side"><h3>相关阅读</h3><ul><li><a href="/1">城东新区公园改造完成，周末可免费游览</a></li>
<li><a href="/2">老城区步行街夜市重新开张，小吃摊位增至八十个</a></li><li><a href="/3">南部高教园区新增三条公交线路</a></li></ul></div></div>
<div class="comments"><h3>网友评论</h3><p>终于等到了，周末就去骑一圈！</p><p>希望多建几个停车场，开车过去不方便。</p></div>
<div id="footer">关于我们 | 联系方式 | 版权所有 城市新闻网</div>
</body></html>
TAIL
