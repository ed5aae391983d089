# What capture-pages.sh adds to a copy of a page: always a script that puts
# the scroll position and the window's inner size in the title ("y TOP W H"),
# and the fixed part the page is captured with, in the shapes real pages
# have: a band of a line of links over blank rows, a footer, a badge that
# only shows once the page has scrolled, a sidebar of a few links over an
# empty column, a band with a blinking caret.

band_css='#vx-band{position:fixed;top:0;left:0;right:0;height:60px;box-sizing:border-box;z-index:1000;
background:#fff;border-bottom:1px solid #bbb;padding:6px 14px;font:13px sans-serif}
#vx-band span{float:right}body{padding-top:60px!important}'
band_html='<div id="vx-band"><a href="#">Home</a> · <a href="#">Contents</a> · <a href="#">Index</a>
<span><a href="#">Search</a> · <a href="#">Previous</a> · <a href="#">Next</a></span></div>'

declare -A addition_css=(
    [none]=''
    [band]="$band_css"
    [bandAndFooter]="$band_css"'#vx-foot{position:fixed;bottom:0;left:0;right:0;height:40px;
z-index:1000;box-sizing:border-box;background:#f4f4f4;border-top:1px solid #bbb;padding:10px 14px;
font:12px sans-serif}body{padding-bottom:40px!important}'
    [bandAndLateBadge]="$band_css"'#vx-badge{position:fixed;right:24px;bottom:24px;width:44px;
height:44px;border-radius:22px;background:#336791;color:#fff;font:22px/44px sans-serif;
text-align:center;display:none;z-index:1000}'
    [bandWithCaret]="$band_css"'#vx-band input{margin-left:24px;width:220px}'
    [fixedSidebar]='div.sphinxsidebar{position:fixed!important;top:0;left:0;bottom:0;
margin-left:0!important;overflow:hidden}'
    [blankSidebar]='#vx-side{position:fixed;top:0;left:0;bottom:0;width:200px;z-index:1000;
box-sizing:border-box;background:#f3f3f3;border-right:1px solid #ccc;padding:16px;
font:14px/1.8 sans-serif}body{margin-left:210px!important}'
)
declare -A addition_html=(
    [none]=''
    [band]="$band_html"
    [bandAndFooter]="$band_html"'<div id="vx-foot">Debian Reference · footer that stays put</div>'
    [bandAndLateBadge]="$band_html"'<div id="vx-badge">↑</div>'
    [bandWithCaret]="${band_html/<span>/<input id=\"vx-q\" autofocus placeholder=\"Search\"><span>}"
    [fixedSidebar]=''
    [blankSidebar]='<nav id="vx-side"><b>SQLite</b><br><a href="#">Home</a><br>
<a href="#">About</a><br><a href="#">Documentation</a><br><a href="#">Download</a></nav>'
)

title_script='<script>function vxTitle(){document.title="y "+Math.round(scrollY)+" "+innerWidth+" "+
innerHeight;const b=document.getElementById("vx-badge");if(b)b.style.display=scrollY>300?"block":
"none"}addEventListener("scroll",vxTitle);addEventListener("load",vxTitle);</script>'

# withAddition FILE KIND: the page with its addition, reading its files from
# where it lies.
withAddition() {
    local file=$1 kind=$2
    local head="<base href=\"file://$(dirname "$file")/\"><style>${addition_css[$kind]}</style>"
    HEAD="$head$title_script" BODY="${addition_html[$kind]}" perl -0pe \
        's/<head(\s[^>]*)?>/<head$1>$ENV{HEAD}/i; s/(<body[^>]*>)/$1$ENV{BODY}/i' "$file"
}
